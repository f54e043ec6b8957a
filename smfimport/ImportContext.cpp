#include "smfimport/ImportContext.h"

#include <algorithm>
#include <cstdint>

#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/LongTaskProgress.h"
#include "model/MusicNote.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"
#include "model/StaffUtl.h"

namespace {

int64_t NearestTwelve(int64_t ticks) { return (ticks + 6) / 12 * 12; }

void ClearTieOut(TSongNote& item)
{
    item.ClearAttribute(AttrTieOut);
    if (item.GetItemType() == ItemChord) {
        auto& chord = static_cast<TChordData&>(item);
        for (TMusicNote* m : chord.GetMembers())
            m->ClearAttribute(AttrTieOut);
        chord.UpdateChord();
    }
}

TMusicNote* NewPendingNote(const TSpelledPitch& spelled)
{
    auto* note = new TMusicNote;
    note->SetPosition(spelled.Position);
    note->SetAccidental(spelled.Accidental);
    note->SetDuration(DurSixtyfourth);
    note->SetAttribute(AttrTieOut);
    return note;
}

} // namespace

TSMFImportContext::TSMFImportContext(const TSMFData& data, TLongTaskProgress* progress)
    : Data(data), Progress(progress)
{
}

void TSMFImportContext::Begin(int kind, TMusicStaff* staff, int quantum, int beat,
                              const TSMFImportInstructions* instructions, const TSMFTrackData* track)
{
    Kind = kind;
    Staff = staff;
    Quantum = quantum > 0 ? quantum : 24;
    Beat = beat > 0 ? beat : 192;
    Instructions = instructions;
    Track = track;
    Reached = 0;
    SongKey = 0;
    PendingCount = 0;
}

bool TSMFImportContext::HasRoom() const { return Staff && Staff->FreeRoom() >= MinFreeRoom; }

bool TSMFImportContext::IsCancelled() const { return IsCancelRequested(Progress); }

bool TSMFImportContext::InKeyRange(int key) const
{
    if (!Instructions)
        return key >= 0 && key <= 127;
    return key >= Instructions->LowKey && key <= Instructions->HighKey;
}

bool TSMFImportContext::IsPending(int key) const
{
    for (int i = 0; i < PendingCount; ++i)
        if (Pending[i].Key == key)
            return true;
    return false;
}

int TSMFImportContext::Quantize(int ticks) const
{
    int64_t r = std::max<int64_t>(NearestTwelve(ticks), Reached);
    const int64_t q = (r + Quantum / 2) / Quantum * Quantum;
    return static_cast<int>(std::min<int64_t>(q, INT32_MAX));
}

TNotatedItem* TSMFImportContext::MakePendingItem()
{
    if (!HasRoom())
        return nullptr;
    if (PendingCount == 0)
        return new TRestNote;
    if (PendingCount == 1) {
        TSMFPendingNote& p = Pending[0];
        ++p.Written;
        return NewPendingNote(SpellPitch(ClefTreble, p.Sign, p.Key));
    }
    auto* chord = new TChordData;
    for (int i = 0; i < PendingCount; ++i) {
        TSMFPendingNote& p = Pending[i];
        TSpelledPitch spelled = SpellPitch(ClefTreble, p.Sign, p.Key);
        if (chord->FindNoteAt(spelled.Position)) {
            p.Sign = -p.Sign;
            spelled = SpellPitch(ClefTreble, p.Sign, p.Key);
            if (chord->FindNoteAt(spelled.Position))
                continue;
        }
        TMusicNote* note = NewPendingNote(spelled);
        if (!chord->AddChordNote(note)) {
            delete note;
            continue;
        }
        ++p.Written;
    }
    return chord;
}

void TSMFImportContext::FillTo(int ticks)
{
    if (!Staff || ticks <= Reached)
        return;
    int64_t left = int64_t(ticks) - Reached;
    TSongNote* last = nullptr;
    while (left > 0) {
        TNotatedItem* item = MakePendingItem();
        if (!item)
            break;
        Staff->InsertItem(item, Staff->LastIndex());
        auto* note = static_cast<TSongNote*>(item);
        left -= SetDurationFromTicks(*note, static_cast<int>(std::min<int64_t>(left, INT32_MAX)), false);
        last = note;
    }
    Reached = static_cast<int>(std::min<int64_t>(int64_t(ticks) - left, INT32_MAX));
    PendingCount = 0;
    if (last)
        ClearTieOut(*last);
}

void TSMFImportContext::NoteOn(int ticks, int key)
{
    if (!InKeyRange(key))
        return;
    FillTo(Quantize(ticks));
    if (IsPending(key) || PendingCount >= MaxPending)
        return;
    Pending[PendingCount++] = TSMFPendingNote{key, SongKey < 0 ? -1 : 1, 0};
}

void TSMFImportContext::NoteOff(int ticks, int key)
{
    if (!InKeyRange(key))
        return;
    const TSMFPendingNote* entry = nullptr;
    for (int i = 0; i < PendingCount; ++i)
        if (Pending[i].Key == key)
            entry = &Pending[i];
    if (!entry)
        return;
    int64_t target = Quantize(ticks);
    if (entry->Written == 0 && target <= Reached) {
        const int64_t m = std::max<int64_t>(NearestTwelve(ticks), Reached);
        target = Reached + std::max<int64_t>(MinNoteTicks, m - Reached);
    }
    FillTo(static_cast<int>(std::min<int64_t>(target, INT32_MAX)));
}

void TSMFImportContext::AddKey(int ticks, int key)
{
    if (key == 0 && ticks == 0)
        return;
    if (key > 7 || key < -7)
        key %= 7;
    auto* item = new TKeyData;
    item->SetSignedKey(key);
    AddItemAt(ticks, item);
    SongKey = key;
}

void TSMFImportContext::AddItemAt(int ticks, TNotatedItem* item)
{
    FillTo(Quantize(ticks));
    Staff->InsertItem(item, Staff->LastIndex());
}
