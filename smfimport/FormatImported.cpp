#include "smfimport/FormatImported.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/LongTaskProgress.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/StaffAudit.h"
#include "model/StaffRange.h"
#include "model/StaffUtl.h"
#include "model/TimeSignatureData.h"
#include "model/TransposeNtnIdx.h"
#include "smfimport/ImportContext.h"
#include "smfimport/ImportEdit.h"
#include "smfimport/ImportFormatSteps.h"

namespace {

constexpr int BassClefThreshold = 8;
constexpr int BassClefShift = -12;

struct TPlacedItem {
    int64_t Ticks = 0;
    const TNotatedItem* Item = nullptr;
};

std::vector<TPlacedItem> ItemsOfType(const TMusicStaff& staff, int type)
{
    std::vector<TPlacedItem> found;
    int64_t ticks = 0;
    for (const TNotatedItem* item : staff.ItemList()) {
        if (item->GetItemType() == type)
            found.push_back({ticks, item});
        ticks += item->GetPlayDuration();
    }
    return found;
}

TNotatedItem* CopySignature(const TNotatedItem& item)
{
    TNotatedItem* copy = nullptr;
    if (item.GetItemType() == ItemTimeSig) {
        const auto& sig = static_cast<const TTimeSignatureData&>(item);
        copy = new TTimeSignatureData(sig.GetBeats(), sig.GetExponent(), sig.GetStyle());
    } else {
        const auto& key = static_cast<const TKeyData&>(item);
        copy = new TKeyData(key.GetSharps(), key.GetFlats());
    }
    copy->CopyAttributes(item);
    return copy;
}

// The conductor's signatures of that type at their tick positions.
void CopySignatures(TMusicStaff& staff, const std::vector<TPlacedItem>& signatures)
{
    int index = 1;
    int64_t ticks = 0;
    for (const TPlacedItem& placed : signatures) {
        if (staff.FreeRoom() < TSMFImportContext::MinFreeRoom)
            break;
        InsertAtTicks(staff, CopySignature(*placed.Item), placed.Ticks, index, ticks);
    }
}

void PlaceClef(TMusicStaff& staff)
{
    long long sum = 0;
    for (const TNotatedItem* item : staff.ItemList())
        if (item->IsPitched())
            sum += item->GetBottomPosition() - BassClefThreshold;
    const bool bass = sum > 0;
    staff.InsertItem(new TClefData(bass ? ClefBass : ClefTreble), 1);
    if (bass)
        ShiftPositions(TStaffRange(&staff, 0, staff.LastIndex()), BassClefShift);
}

// Every note renamed under the key in force, then redundant accidentals dropped.
void RenameNotes(TMusicStaff& staff)
{
    TTransposeNtnIdx idx(&staff, 0, 0);
    for (;;) {
        idx.ApplyHere();
        if (!idx.CanStep(1))
            break;
        idx.Next();
    }
    ResolveStaffAccidentals(staff, false);
    AuditStaff(&staff);
}

bool IsLyricsStaff(const TMusicStaff& staff) { return std::strcmp(staff.Group, "Lyrics") == 0; }

} // namespace

void FormatImportedStaff(TMusicStaff& staff, const TMusicStaff& conductor, const TSMFImportInstructions& instructions,
                         TLongTaskProgress* progress)
{
    const bool isConductor = &staff == &conductor;
    if (IsCancelRequested(progress))
        return;
    if (progress) {
        char text[64];
        std::snprintf(text, sizeof text, "Formatting Staff: %s", staff.Name);
        progress->SetText(text);
    }
    RemoveSameTimeDuplicates(staff);

    if (IsCancelRequested(progress))
        return;
    const std::vector<TPlacedItem> times = ItemsOfType(conductor, ItemTimeSig);
    if (!isConductor && !times.empty())
        CopySignatures(staff, times);
    else if (staff.CountItemsOfType(ItemTimeSig) == 0)
        staff.InsertItem(new TTimeSignatureData(4, 2), 1);

    if (IsCancelRequested(progress))
        return;
    if (!isConductor && staff.CountItemsOfType(ItemKey) == 0)
        CopySignatures(staff, ItemsOfType(conductor, ItemKey));

    if (IsCancelRequested(progress))
        return;
    PlaceClef(staff);

    if (IsCancelRequested(progress))
        return;
    InsertImportBarLines(staff);

    if (IsCancelRequested(progress))
        return;
    ResolveStaffAccidentals(staff, true);
    AuditStaff(&staff);
    TidyTiesAndRests(staff, instructions);

    if (IsCancelRequested(progress))
        return;
    MergeBarRests(staff);

    if (IsCancelRequested(progress))
        return;
    RemoveSameTimeDuplicates(staff);
    AuditStaff(&staff);

    if (IsCancelRequested(progress))
        return;
    if ((instructions.Options & ImportRebuildBeams) && !staff.Lyrics)
        BeamByBeats(staff, instructions);

    if (IsCancelRequested(progress))
        return;
    RenameNotes(staff);
}

void FormatImportedScore(TMusicScore& score, const TSMFImportInstructionList& instructions,
                         TLongTaskProgress* progress)
{
    std::unique_ptr<TMusicStaff> conductor(score.RemoveStaff(0));
    if (!conductor)
        conductor = std::make_unique<TMusicStaff>();
    RemoveSameTimeDuplicates(*conductor);

    int64_t length = 0;
    for (int s = 0; s < score.StaffCount(); ++s)
        length = std::max(length, StaffTicks(*score.StaffAt(s)));
    for (int s = 0; s < score.StaffCount(); ++s) {
        TMusicStaff& staff = *score.StaffAt(s);
        PadWithRests(staff, length - StaffTicks(staff));
    }
    PadWithRests(*conductor, length - StaffTicks(*conductor));
    if (length <= INT32_MAX)
        conductor->TruncateAt(static_cast<int>(length));

    const TSMFImportInstructions lyricsInstructions{0xFFFF, 0, 127, 0, 4, 2};
    size_t channelStaves = 0;
    for (int s = 0; s < score.StaffCount() && !IsCancelRequested(progress); ++s) {
        TMusicStaff& staff = *score.StaffAt(s);
        if (IsLyricsStaff(staff)) {
            FormatImportedStaff(staff, *conductor, lyricsInstructions, progress);
            const TStaffRange all(&staff, 0, staff.LastIndex());
            HideItems(all);
            MuteNotes(all);
            const TMusicStaff* previous = score.StaffAt(s - 1);
            staff.SetBoundaries(-3, previous && previous->LayerWithNext ? previous->LowerBoundary + 5 : 15);
            continue;
        }
        const TSMFImportInstructions own =
            channelStaves < instructions.size() ? instructions[channelStaves] : TSMFImportInstructions{};
        ++channelStaves;
        FormatImportedStaff(staff, *conductor, own, progress);
        const TStaffRange all(&staff, 0, staff.LastIndex());
        const int upper = std::min(GetBeamExtreme(all, 1), s == 0 ? -14 : -10);
        const int lower = std::max(GetBeamExtreme(all, -1), 10);
        staff.SetBoundaries(upper, lower);
    }

    TMusicStaff* added = conductor.release();
    score.AddStaff(added);
    FormatImportedStaff(*added, *added, TSMFImportInstructions{}, progress);
    added->SetBoundaries(-14, 12);
}
