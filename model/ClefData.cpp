#include "model/ClefData.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TClefData::TClefData(int clef, int octaveShift)
{
    SetClef(clef);
    SetOctaveShift(octaveShift);
}

TClefData::TClefData(TQKXStream& in, int version)
{
    ReadHeader(in, version);
    SetClef(in.ReadShort());
    if (version >= 4)
        OctaveShift = static_cast<uint8_t>(in.ReadShort() & 0xFF);
}

void TClefData::SetClef(int clef)
{
    Clef = static_cast<uint8_t>(clef >= 0 && clef <= 3 ? clef : ClefTreble);
}

const char* TClefData::GetClefName() const { return NameListLookup(ClefNames, Clef); }
const char* TClefData::GetOctaveShiftName() const { return NameListLookup(OctaveShiftNames, OctaveShift); }
