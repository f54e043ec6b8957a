#include "model/GeneralExpression.h"

#include <cstring>
#include <utility>

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

void TNtnGeneralExpression::ReadCommon(TQKXStream& in, int version)
{
    ReadHeader(in, version);
    if (version >= 11) {
        Position = static_cast<int8_t>(in.GetByte());
        const int flags = in.GetByte();
        PreserveWidth = (flags & 1) != 0;
        Justification = static_cast<uint8_t>((flags >> 1) & 3);
        Placement = static_cast<uint8_t>((flags >> 3) & 3);
    } else {
        Position = -8;
        PreserveWidth = true;
        Justification = JustifyLeft;
        Placement = PlaceBeforeSignatures;
    }
}

void TNtnGeneralExpression::SetOldLayout(unsigned word, unsigned widthBit)
{
    Position = static_cast<int8_t>((word >> 8) & 0xFF);
    PreserveWidth = (word & widthBit) != 0;
}

const char* TNtnGeneralExpression::GetJustificationName() const
{
    return NameListLookup(JustificationNames, Justification);
}

const char* TNtnGeneralExpression::GetPlacementName() const
{
    return NameListLookup(PlacementNames, Placement);
}

void TNtnGeneralExpression::ReadText(TQKXStream& in, TQMMemoryBlock& text)
{
    char buffer[TextCapacity];
    in.ReadString(buffer, TextCapacity);
    buffer[TextCapacity - 1] = 0;
    StoreText(text, buffer);
}

void TNtnGeneralExpression::StoreText(TQMMemoryBlock& block, const char* text)
{
    const size_t n = text ? strnlen(text, TextCapacity - 1) : 0;
    TQMMemoryBlock stored(n + 1);
    if (n)
        std::memcpy(stored.Data(), text, n);
    block = std::move(stored);
}
