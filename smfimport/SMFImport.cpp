#include "smfimport/SMFImport.h"

#include <algorithm>
#include <cstring>

#include "perform/MidiSongEvent.h"

namespace {

// Frames per second of the SMPTE codes; 29 stands for 30 drop-frame.
void SmpteTicksPerSecond(int division, int64_t& numerator, int64_t& denominator)
{
    const int fps = -static_cast<int8_t>((division >> 8) & 0xFF);
    const int ticksPerFrame = division & 0xFF;
    // Program ticks per second at 120 BPM: 384.
    if (fps == 29) {
        numerator = 384 * 100;
        denominator = int64_t(2997) * ticksPerFrame;
    } else {
        numerator = 384;
        denominator = int64_t(fps) * ticksPerFrame;
    }
}

int64_t MulDivRounded(int64_t a, int64_t b, int64_t c) { return (a * b + c / 2) / c; }

} // namespace

TSMFImport::TSMFImport(TQKXStream* source, TSMFData* data, TQKXStream* log)
    : TSMFInStream(source, log), Data(data)
{
}

TSMFImport::~TSMFImport() = default;

void TSMFImport::OnHeader(int format, int tracks, int division)
{
    int64_t numerator = ProgramTicks;
    int64_t denominator = division;
    if (division < 0)
        SmpteTicksPerSecond(division, numerator, denominator);
    if (denominator <= 0) {
        Error("Division of %d cannot be read", division);
        return;
    }
    ScaleNumerator = numerator;
    ScaleDenominator = denominator;
    FileDivision = static_cast<int32_t>(denominator * ProgramTicks / numerator);
    ScaleWhole = static_cast<int32_t>(numerator / denominator);
    ScaleRest = static_cast<int32_t>(numerator % denominator);
}

int32_t TSMFImport::ScaleTime(uint32_t fileTicks) const
{
    const int64_t t = fileTicks;
    const int64_t d = ScaleDenominator;
    const int64_t whole = ScaleNumerator / d;
    const int64_t rest = ScaleNumerator % d;
    const int64_t v = whole * t + (t / d) * rest + MulDivRounded(t % d, rest, d);
    return v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

TSMFTrackData* TSMFImport::ConductorTrack() const
{
    if (Data && !Data->Tracks.empty())
        return Data->Tracks.front().get();
    return CurrentTrack.get();
}

void TSMFImport::OnTrackStart() { CurrentTrack = std::make_unique<TSMFTrackData>(); }

void TSMFImport::OnTrackEnd()
{
    if (!CurrentTrack || !Data)
        return;
    if (Data->Tracks.empty() || CurrentTrack->HasContent()) {
        if (Data->TrackCount() < MaxTracks) {
            Data->Tracks.push_back(std::move(CurrentTrack));
        } else {
            Warning("Track dropped: more than %d tracks", MaxTracks);
        }
    }
    CurrentTrack.reset();
}

void TSMFImport::OnFileEnd()
{
    CurrentTrack.reset();
    if (!Data)
        return;
    for (auto& track : Data->Tracks)
        track->FinishEvents();
}

void TSMFImport::OnChannelEvent(int status, int data1, int data2)
{
    if (!CurrentTrack)
        return;
    int kind = (status >> 4) & 7;
    if (kind == MsgNoteOn && data2 == 0)
        kind = MsgNoteOff;
    TMidiSongEvent e;
    e.Time = ScaleTime(TrackTime);
    e.SetMessage(kind, 0, status & 0x0F, data1 & 0x7F, data2 & 0x7F);
    CurrentTrack->AddEvent(e);
}

void TSMFImport::OnPortPrefix(int port)
{
    if (CurrentTrack)
        CurrentTrack->Port = port;
}

void TSMFImport::OnText(int type, const char* text)
{
    if (!CurrentTrack || !Data || !text || !*text)
        return;
    const int32_t time = ScaleTime(TrackTime);
    char(&info)[4][TSMFData::InfoSize] = Data->Info;
    switch (type) {
    case 1:
        if (Data->TrackCount() < 2 && !info[TSMFData::InfoAuthor][0] && time == 0) {
            if (const char* by = std::strstr(text, "By "))
                CopyBoundedText(info[TSMFData::InfoAuthor], TSMFData::InfoSize, by + 3);
        }
        break;
    case 2:
        if (!info[TSMFData::InfoCopyright1][0]) {
            if (const char* cr = std::strchr(text, '\r')) {
                const size_t n = std::min(size_t(cr - text), size_t(TSMFData::InfoSize - 1));
                std::memcpy(info[TSMFData::InfoCopyright1], text, n);
                info[TSMFData::InfoCopyright1][n] = 0;
                const char* second = cr + 1;
                if (*second == '\n')
                    ++second;
                if (*second)
                    CopyBoundedText(info[TSMFData::InfoCopyright2], TSMFData::InfoSize, second);
            } else {
                CopyBoundedText(info[TSMFData::InfoCopyright1], TSMFData::InfoSize, text);
            }
        } else if (!info[TSMFData::InfoCopyright2][0]) {
            CopyBoundedText(info[TSMFData::InfoCopyright2], TSMFData::InfoSize, text);
        }
        break;
    case 3:
        if (!CurrentTrack->Names[TSMFTrackData::TrackName][0])
            CopyBoundedText(CurrentTrack->Names[TSMFTrackData::TrackName], TSMFTrackData::NameSize, text);
        if (Data->Tracks.empty() && !info[TSMFData::InfoTitle][0])
            CopyBoundedText(info[TSMFData::InfoTitle], TSMFData::InfoSize, text);
        break;
    case 4:
        if (!CurrentTrack->Names[TSMFTrackData::InstrumentName][0])
            CopyBoundedText(CurrentTrack->Names[TSMFTrackData::InstrumentName], TSMFTrackData::NameSize, text);
        break;
    default:
        break;
    }
    if (type >= 1 && type <= 15)
        CurrentTrack->AddText(time, type, text);
}

void TSMFImport::OnTimeSignature(int numerator, int power, int clocks, int notated32)
{
    if (TSMFTrackData* conductor = ConductorTrack()) {
        TMidiSongEvent e;
        e.Time = ScaleTime(TrackTime);
        e.SetTimeSignature(numerator, power);
        conductor->AddEvent(e);
    }
}

void TSMFImport::OnTempo(uint32_t microseconds)
{
    if (microseconds == 0) {
        Warning("Tempo of 0 microseconds ignored");
        return;
    }
    if (TSMFTrackData* conductor = ConductorTrack()) {
        TMidiSongEvent e;
        e.Time = ScaleTime(TrackTime);
        e.SetTempo(static_cast<int>(60000000u / microseconds));
        conductor->AddEvent(e);
    }
}

void TSMFImport::OnKeySignature(int sharpsFlats, bool minor)
{
    if (!CurrentTrack)
        return;
    TMidiSongEvent e;
    e.Time = ScaleTime(TrackTime);
    e.SetKeySignature(sharpsFlats, minor);
    CurrentTrack->AddEvent(e);
}

std::unique_ptr<TSMFData> ReadMidiData(TQKXStream& source)
{
    auto data = std::make_unique<TSMFData>();
    TSMFImport reader(&source, data.get());
    reader.Read();
    return data;
}
