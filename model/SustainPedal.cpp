#include "model/SustainPedal.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"

TSustainPedal::TSustainPedal(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    if (version >= 11) {
        State = static_cast<uint8_t>(in.GetByte());
        return;
    }
    SetPosition(in.ReadSignedShort());
    unsigned b = in.ReadShort();
    if (version <= 9)
        b |= 2;
    SetPreserveWidth((b & 2) != 0);
    State = static_cast<uint8_t>(b & 1);
}

const char* TSustainPedal::GetStateName() const { return PedalStateName(State); }
