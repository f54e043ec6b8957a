#include "smfimport/ImportStaffBuilders.h"

#include <cstring>

#include "model/MusicStaff.h"
#include "model/TempoData.h"
#include "model/TimeSignatureData.h"
#include "perform/MidiFileBuf.h"
#include "smfimport/ImportContext.h"
#include "smfimport/ImportInstructions.h"
#include "smfimport/SMFData.h"

namespace {

constexpr int ConductorQuantum = 24;
constexpr int ConductorBeat = 96;

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int LowestChannel(uint16_t mask)
{
    for (int c = 0; c < 16; ++c)
        if (mask & (1u << c))
            return c;
    return 0;
}

} // namespace

bool NameStaffFromTrack(TMusicStaff& staff, const TSMFTrackData& track)
{
    const char* source = track.Names[TSMFTrackData::TrackName];
    if (!source[0])
        source = track.Names[TSMFTrackData::InstrumentName];
    char name[TMusicStaff::NameSize];
    CopyBoundedText(name, TMusicStaff::NameSize, source);
    size_t end = std::strlen(name);
    while (end > 0 && IsTrimmed(name[end - 1]))
        --end;
    name[end] = 0;
    size_t start = 0;
    while (name[start] && IsTrimmed(name[start]))
        ++start;
    if (!name[start])
        return false;
    CopyBoundedText(staff.Name, TMusicStaff::NameSize, name + start);
    return true;
}

std::unique_ptr<TMusicStaff> MakeConductorStaff(TSMFImportContext& context)
{
    auto staff = std::make_unique<TMusicStaff>();
    CopyBoundedText(staff->Name, TMusicStaff::NameSize, "Tempo Track");
    CopyBoundedText(staff->Group, TMusicStaff::GroupSize, "Conductor");
    const TSMFTrackData* track = context.Data.Track(0);
    context.Begin(TSMFImportContext::ConductorStaff, staff.get(), ConductorQuantum, ConductorBeat, nullptr, track);
    if (!track)
        return staff;
    const TMidiFileBuf& events = track->Events;
    const int32_t count = events.EventCount();
    for (int32_t i = 0; i < count && !context.IsCancelled() && context.HasRoom(); ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        switch (e.GetType()) {
        case EventTempo:
            context.AddItemAt(e.Time, new TTempoData(e.GetBPM(), TempoQuarter));
            break;
        case EventTimeSignature:
            // A signature without beats would make bars of no length.
            if (e.GetBeats() > 0)
                context.AddItemAt(e.Time, new TTimeSignatureData(e.GetBeats(), e.GetBeatUnitPower()));
            break;
        case EventKeySignature:
            context.AddKey(e.Time, e.GetKey());
            break;
        default:
            break;
        }
    }
    return staff;
}

std::unique_ptr<TMusicStaff> MakeChannelStaff(TSMFImportContext& context, const TSMFImportInstructions& instructions)
{
    auto staff = std::make_unique<TMusicStaff>();
    staff->Channel = LowestChannel(instructions.ChannelMask);
    const TSMFTrackData* track = context.Data.Track(instructions.Track);
    context.Begin(TSMFImportContext::ChannelStaff, staff.get(), instructions.QuantumTicks(), instructions.BeatTicks(),
                  &instructions, track);
    if (!track)
        return staff;
    NameStaffFromTrack(*staff, *track);
    const TMidiFileBuf& events = track->Events;
    const int32_t count = events.EventCount();
    for (int32_t i = 0; i < count && !context.IsCancelled() && context.HasRoom(); ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        if (e.GetType() == EventKeySignature) {
            context.AddKey(e.Time, e.GetKey());
            continue;
        }
        if (!e.IsMessage() || !(instructions.ChannelMask & (1u << e.GetChannel())))
            continue;
        switch (e.GetMessageKind()) {
        case MsgNoteOn:
            if (e.Data2 > 0)
                context.NoteOn(e.Time, e.Data1);
            else
                context.NoteOff(e.Time, e.Data1);
            break;
        case MsgNoteOff:
            context.NoteOff(e.Time, e.Data1);
            break;
        case MsgProgramChange:
            if (staff->DefaultPatch.Patch == 0)
                staff->DefaultPatch.Patch = e.Data1 + 1;
            break;
        default:
            break;
        }
    }
    return staff;
}
