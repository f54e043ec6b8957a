#include "model/DynamicLevelData.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TDynamicLevelData::TDynamicLevelData(int level, int velocity, int volume)
{
    SetLevel(level);
    if (velocity >= 0) {
        VelocitySet = true;
        Velocity = static_cast<uint8_t>(velocity);
    }
    if (volume >= 0) {
        VolumeSet = true;
        Volume = static_cast<uint8_t>(volume);
    }
}

TDynamicLevelData::TDynamicLevelData(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    if (version <= 3) {
        SetPosition(in.ReadSignedShort());
        SetLevel(static_cast<int>(in.ReadShort() & 15));
        VelocitySet = false;
        VolumeSet = false;
        Velocity = 255;
        Volume = VolumeUnset;
        return;
    }
    unsigned b;
    if (version <= 10) {
        const unsigned w = in.ReadShort();
        SetOldLayout(w, 0x10);
        b = w & 0xFF;
        if (version <= 9 && (b & 0x80))
            SetVisibility(VisNever);
    } else {
        b = static_cast<unsigned>(in.GetByte());
    }
    SetLevel(static_cast<int>(b & 15));
    VelocitySet = (b & 0x20) != 0;
    VolumeSet = (b & 0x40) != 0;
    Velocity = static_cast<uint8_t>(in.ReadShort() & 0xFF);
    Volume = static_cast<uint8_t>(in.ReadShort() & 0xFF);
}

void TDynamicLevelData::SetLevel(int level)
{
    Level = static_cast<uint8_t>(level >= 0 && level <= 7 ? level : 0);
}

const char* TDynamicLevelData::GetLevelName() const { return NameListLookup(DynamicLevelNames, Level); }
const char* TDynamicLevelData::GetDisplayText() const { return NameListLookup(DynamicLevelDisplay, Level); }
