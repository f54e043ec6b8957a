#include "model/NotatedItem.h"

#include "fileio/QKXStream.h"

TNotatedItem::~TNotatedItem() = default;

void TNotatedItem::CopyAttributes(const TNotatedItem& source)
{
    Visibility = source.Visibility;
    Color = source.Color;
}

void TNotatedItem::ReadHeader(TQKXStream& in, int version)
{
    if (version < 10) {
        Visibility = 0;
        Color = 0;
        return;
    }
    const int b = in.GetByte();
    Visibility = static_cast<uint8_t>(b & 3);
    Color = static_cast<uint8_t>((b >> 3) & 3);
}
