#include "smfimport/PlayBufferFromTracks.h"

#include <algorithm>
#include <vector>

#include "perform/MidiFileBuf.h"
#include "smfimport/SMFData.h"

namespace {

struct TTrackCursor {
    TMFBIndex Index;
    int32_t Count = 0;
    int Track = 0;

    const TMidiSongEvent& Current() const { return Index.Buffer->EventAt(Index.Index); }
};

// The order a merge in windows of 768 ticks gives, later tracks first in a
// window: by time, then by priority, then the later track.
bool MergesAfter(const TTrackCursor& a, const TTrackCursor& b)
{
    const TMidiSongEvent& ea = a.Current();
    const TMidiSongEvent& eb = b.Current();
    if (ea.Time != eb.Time)
        return ea.Time > eb.Time;
    const int pa = ea.SortPriority();
    const int pb = eb.SortPriority();
    if (pa != pb)
        return pa > pb;
    return a.Track < b.Track;
}

} // namespace

void FillPlayBufferFromTracks(const TSMFData& data, TMidiFileBuf& events)
{
    std::vector<TTrackCursor> heap;
    for (int t = 0; t < data.TrackCount() && t < PlayBufferTrackLimit; ++t) {
        const TMidiFileBuf& buffer = data.Track(t)->Events;
        if (buffer.IsEmpty())
            continue;
        TTrackCursor c;
        c.Index = TMFBIndex(&buffer);
        c.Count = buffer.EventCount();
        c.Track = t;
        heap.push_back(c);
    }
    events.Reset();
    // The events arrive in song order, so every add goes to the buffer's end.
    std::make_heap(heap.begin(), heap.end(), MergesAfter);
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), MergesAfter);
        TTrackCursor& c = heap.back();
        if (!events.Add(c.Current()))
            break;   // full: everything after sorts later and is lost too
        if (++c.Index.Index < c.Count)
            std::push_heap(heap.begin(), heap.end(), MergesAfter);
        else
            heap.pop_back();
    }
}
