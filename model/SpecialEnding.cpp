#include "model/SpecialEnding.h"

#include <cstdio>

#include "fileio/QKXStream.h"

TSpecialEnding::TSpecialEnding(TQKXStream& in, int version)
{
    ReadHeader(in, version);
    Endings = in.ReadShort();
}

bool TSpecialEnding::HasEnding(int number) const
{
    return number >= 1 && number <= 7 && (Endings & (1u << (number - 1)));
}

std::string TSpecialEnding::GetLabel() const
{
    std::string label = " ";
    for (unsigned i = 0; i < 7; ++i) {
        if (Endings & (1u << i)) {
            char part[8];
            std::snprintf(part, sizeof part, "%u%c", i + 1, '.');
            label += part;
        }
    }
    if (Endings & 0x80)
        label += "D.";
    return label;
}
