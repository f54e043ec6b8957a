#include "model/RestNote.h"

#include "fileio/QKXStream.h"

TRestNote::TRestNote(TQKXStream& in, int version)
{
    ReadHeader(in, version);
    ReadRestPart(in, version);
}

void TRestNote::ReadRestPart(TQKXStream& in, int version)
{
    ReadSongNotePart(in, version);
    int offset = 0;
    if (version >= 9) {
        offset = in.ReadShort() & 0xFFF;
        if (offset & 0x800)
            offset -= 0x1000;
    }
    RestOffset = static_cast<int16_t>(offset);
    BarDuration = 0;
    BarDurationSet = 0;
}

void TRestNote::CopyAttributes(const TNotatedItem& source)
{
    TSongNote::CopyAttributes(source);
    if (!source.IsRest())
        return;
    const auto* rest = dynamic_cast<const TRestNote*>(&source);
    if (!rest)
        return;
    BarDuration = rest->BarDuration;
    BarDurationSet = rest->BarDurationSet;
    RestOffset = rest->RestOffset;
}

int TRestNote::GetPosition() const { return RestOffset - (GetDuration() == DurWhole ? 1 : 0); }

namespace {

struct TRestExtent {
    int Above;
    int Below;
};

TRestExtent RestExtent(int duration)
{
    switch (duration) {
    case 0:
    case 1: return {2, 1};
    case 2: return {4, 4};
    case 3: return {3, 3};
    case 4: return {3, 5};
    case 5: return {5, 5};
    case 6: return {5, 7};
    default: return {1, 1};
    }
}

} // namespace

int TRestNote::GetTopPosition() const { return GetPosition() - RestExtent(GetDuration()).Above; }

int TRestNote::GetBottomPosition() const { return GetPosition() + RestExtent(GetDuration()).Below; }

int TRestNote::GetPlayDuration() const
{
    return BarDurationSet ? int(BarDuration) : TSongNote::GetPlayDuration();
}

void TRestNote::SetBarDuration(int count, int code)
{
    const int ticks = count * (768 >> (code & 15));
    BarDuration = static_cast<uint16_t>(ticks & 0x7FFF);
    BarDurationSet = 1;
}

void TRestNote::ClearBarDuration()
{
    BarDuration = 0;
    BarDurationSet = 0;
}

bool TRestNote::IsBarRestCandidate() const
{
    return GetDuration() == DurWhole && !HasAttribute(AttrDotted) && !HasAttribute(AttrDoubleDotted)
        && GetTriplet() == 0 && !HasNotes();
}
