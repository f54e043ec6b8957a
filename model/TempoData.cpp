#include "model/TempoData.h"

#include "fileio/QKXStream.h"
#include "model/ItemNames.h"
#include "model/NameList.h"

TTempoData::TTempoData(int tempo, int base) : Tempo(tempo), Base(static_cast<uint8_t>(base))
{
    SetPosition(-10);
    SetPreserveWidth(false);
}

TTempoData::TTempoData(TQKXStream& in, int version)
{
    ReadCommon(in, version);
    if (version >= 11) {
        Tempo = in.ReadShort();
        Base = static_cast<uint8_t>(in.GetByte());
        ReadText(in, Text);
        return;
    }
    SetPosition(in.ReadSignedShort());
    Tempo = in.ReadShort();
    Base = static_cast<uint8_t>(version >= 3 ? in.ReadShort() & 0xFF : int(TempoQuarter));
    if (version >= 4) {
        // Bits 0-3 name index, bit 4 shown, bit 5 named, bit 6 preserve width.
        const unsigned flags = in.ReadShort();
        if (!(flags & 0x30))
            SetVisibility(VisNever);
        if (flags & 0x20)
            StoreText(Text, OldTempoName(static_cast<int>(flags & 15)));
        SetPreserveWidth((flags & 0x40) != 0);
    }
}

void TTempoData::SetTempoInBase(int value, int base)
{
    switch (base) {
    case TempoEighth: Tempo = value / 2; break;
    case TempoDottedEighth: Tempo = 3 * value / 4; break;
    case TempoDottedQuarter: Tempo = 3 * value / 2; break;
    case TempoHalf: Tempo = 2 * value; break;
    case TempoDottedHalf: Tempo = 3 * value; break;
    default: Tempo = value; break;
    }
    Base = static_cast<uint8_t>(base);
}

int TTempoData::GetTempoInBase(int base) const
{
    switch (base) {
    case TempoEighth: return 2 * Tempo;
    case TempoDottedEighth: return 4 * Tempo / 3;
    case TempoDottedQuarter: return 2 * Tempo / 3;
    case TempoHalf: return Tempo / 2;
    case TempoDottedHalf: return Tempo / 3;
    default: return Tempo;
    }
}

const char* TTempoData::GetBaseName() const { return NameListLookup(TempoBaseNames, Base); }
