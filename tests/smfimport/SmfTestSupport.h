// Shared pieces of the MIDI import tests: reading bytes, describing staves.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fileio/QKXRamStreams.h"
#include "model/BarLineData.h"
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/AuditNtnIdx.h"
#include "model/RestNote.h"
#include "model/TempoData.h"
#include "model/TimeSignatureData.h"
#include "smfimport/SMFData.h"
#include "smfimport/SMFImport.h"
#include "support/SmfWriter.h"

namespace smftest {

// The importer, keeping every diagnostic text.
class TRecordingImport : public TSMFImport {
public:
    using TSMFImport::TSMFImport;
    void OnWarning(const char* text) override
    {
        Warnings.push_back(text);
        TSMFImport::OnWarning(text);
    }
    void OnError(const char* text) override
    {
        Errors.push_back(text);
        TSMFImport::OnError(text);
    }
    std::vector<std::string> Warnings;
    std::vector<std::string> Errors;
};

struct TReadResult {
    std::unique_ptr<TSMFData> Data = std::make_unique<TSMFData>();
    std::vector<std::string> Warnings;
    std::vector<std::string> Errors;
    bool Ok = false;
    int Division = 0;
};

inline TReadResult ReadBytes(const TSmfBytes& bytes)
{
    TReadResult r;
    std::vector<uint8_t> copy = bytes;
    TQKXFlatRamStream in(copy.data(), uint32_t(copy.size()), uint32_t(copy.size()));
    TRecordingImport reader(&in, r.Data.get());
    r.Ok = reader.Read();
    r.Warnings = reader.Warnings;
    r.Errors = reader.Errors;
    r.Division = reader.FileDivision;
    return r;
}

inline bool HasText(const std::vector<std::string>& texts, const std::string& part)
{
    for (const std::string& t : texts)
        if (t.find(part) != std::string::npos)
            return true;
    return false;
}

// Note starts of a buffer: (time, key) pairs.
inline std::vector<std::pair<int, int>> NoteStarts(const TMidiFileBuf& events)
{
    std::vector<std::pair<int, int>> starts;
    for (int32_t i = 0; i < events.EventCount(); ++i) {
        const TMidiSongEvent& e = events.EventAt(i);
        if (e.IsNoteStart())
            starts.emplace_back(e.Time, e.Data1);
    }
    return starts;
}

// A staff in short tokens: "|" bar line, "||" other bar line kinds, "Tn/m"
// time signature, "K+n"/"K-n" key, "Gclef"/"Fclef", "Q120" tempo,
// "r96" rest, "71:192" note (pitch, ticks), "(60,64):192" chord, "~" after
// a tied note, "[" "]" around beam groups is not shown; items hidden from the
// staff are described all the same.
inline std::string DescribeStaff(TMusicStaff& staff, bool withBars = true)
{
    std::string out;
    TAuditNtnIdx idx(&staff);
    for (int i = 1; i < staff.LastIndex(); ++i) {
        idx.GoTo(i);
        const TNotatedItem* item = staff.ItemAt(i);
        std::string token;
        switch (item->GetItemType()) {
        case ItemBarLine:
            if (!withBars)
                continue;
            token = static_cast<const TBarLineData*>(item)->GetKind() == BarSingle ? "|" : "||";
            break;
        case ItemTimeSig: {
            const auto* s = static_cast<const TTimeSignatureData*>(item);
            token = "T" + std::to_string(s->GetBeats()) + "/" + std::to_string(s->GetBeatValue());
            break;
        }
        case ItemKey: {
            const int k = static_cast<const TKeyData*>(item)->GetSignedKey();
            token = std::string("K") + (k < 0 ? "-" : "+") + std::to_string(k < 0 ? -k : k);
            break;
        }
        case ItemClef:
            token = static_cast<const TClefData*>(item)->GetClef() == ClefBass ? "Fclef" : "Gclef";
            break;
        case ItemTempo:
            token = "Q" + std::to_string(static_cast<const TTempoData*>(item)->GetTempo());
            break;
        case ItemRest:
            token = "r" + std::to_string(item->GetPlayDuration());
            break;
        case ItemNote: {
            const auto* n = static_cast<const TMusicNote*>(item);
            token = std::to_string(n->GetPitch(idx.GetState())) + ":" + std::to_string(item->GetPlayDuration());
            if (n->HasAttribute(AttrTieOut))
                token += "~";
            break;
        }
        case ItemChord: {
            const auto* c = static_cast<const TChordData*>(item);
            token = "(";
            bool tied = false;
            for (int m = 0; m < c->GetMemberCount(); ++m) {
                token += (m ? "," : "") + std::to_string(c->GetMember(m)->GetPitch(idx.GetState()));
                tied = tied || c->GetMember(m)->HasAttribute(AttrTieOut);
            }
            token += "):" + std::to_string(item->GetPlayDuration());
            if (tied)
                token += "~";
            break;
        }
        default:
            token = "?" + std::to_string(item->GetItemType());
            break;
        }
        if (!out.empty())
            out += ' ';
        out += token;
    }
    return out;
}

} // namespace smftest
