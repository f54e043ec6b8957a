// The info and dump commands.
#include <cstdio>
#include <memory>

#include "CliCommon.h"
#include "Cp1252.h"
#include "ScoreJson.h"
#include "model/AuditNtnIdx.h"
#include "model/ChordData.h"
#include "model/MusicNote.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"

namespace {

// Reads the one FILE argument; false (with exitCode set) on a usage error.
bool TakeSingleFile(const std::vector<std::string>& args, std::string& file, int& exitCode)
{
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    if (!SplitCliArgs(args, {}, positional, options, exitCode))
        return false;
    if (positional.size() != 1) {
        exitCode = CliUsageError(positional.empty() ? "no FILE given" : "too many arguments");
        return false;
    }
    file = positional.front();
    return true;
}

// Adds the sounding pitch to a note object and to the notes inside it.
void AddPitches(const TNotatedItem& item, const TMidiPlayState& state, TJson& j)
{
    if (item.IsPitched()) {
        j["Pitch"] = static_cast<const TMusicNote&>(item).GetPitch(state);
        if (item.GetItemType() == ItemChord) {
            const auto& chord = static_cast<const TChordData&>(item);
            for (int k = 0; k < chord.GetMemberCount() && k < static_cast<int>(j["Members"].size()); ++k)
                AddPitches(*chord.GetMember(k), state, j["Members"][k]);
        }
    } else if (item.GetItemType() == ItemRestChord) {
        if (const TMusicNote* part = static_cast<const TRestChord&>(item).GetChordPart())
            AddPitches(*part, state, j["ChordPart"]);
    }
}

// Walks each staff with an audit cursor so that every note's pitch comes
// from the clef, key and bar accidentals in force where it stands.
struct TPitchWalk {
    const TMusicScore* Score = nullptr;
    int StaffIndex = -1;
    std::unique_ptr<TAuditNtnIdx> Cursor;

    static void Hook(const TNotatedItem& item, int staffIndex, int itemIndex, TJson& j, void* context)
    {
        auto& walk = *static_cast<TPitchWalk*>(context);
        if (walk.StaffIndex != staffIndex) {
            walk.StaffIndex = staffIndex;
            walk.Cursor = std::make_unique<TAuditNtnIdx>(walk.Score->StaffAt(staffIndex));
        }
        if (!item.IsPitched() && item.GetItemType() != ItemRestChord)
            return;
        walk.Cursor->GoTo(itemIndex);
        TMidiPlayState state = walk.Cursor->GetState();
        state.Mode = 0;   // as when performing: the transposition counts
        state.Transposition = walk.Score->StaffAt(staffIndex)->Transposition;
        AddPitches(item, state, j);
    }
};

} // namespace

int RunInfo(const std::vector<std::string>& args)
{
    std::string file;
    int exitCode = ExitOk;
    if (!TakeSingleFile(args, file, exitCode))
        return exitCode;
    TCliSong song = LoadCliSong(file);
    std::printf("File: %s\n", file.c_str());
    std::printf("Load status: %d\n", song.Info.Status);
    std::printf("Product: %s, format version %d, written by version %d.%02d (release %d)\n",
                Cp1252ToUtf8(song.Info.Product).c_str(), song.Info.FormatVersion, song.Info.WriterVersion / 256,
                song.Info.WriterVersion % 256, song.Info.WriterRelease);
    if (!song.Score)
        return song.ExitCode;
    const TMusicScore& score = *song.Score;
    std::printf("Title: %s\n", Cp1252ToUtf8(score.Title).c_str());
    std::printf("Author: %s\n", Cp1252ToUtf8(score.Author).c_str());
    std::printf("Copyright: %s\n", Cp1252ToUtf8(score.Copyright1).c_str());
    if (score.Copyright2[0])
        std::printf("           %s\n", Cp1252ToUtf8(score.Copyright2).c_str());
    std::printf("Staves: %d\n", score.StaffCount());
    for (int i = 0; i < score.StaffCount(); ++i) {
        const TMusicStaff& staff = *score.StaffAt(i);
        std::printf("  %2d %-24s %-10s channel %2d, %d items%s%s\n", i, Cp1252ToUtf8(staff.Name).c_str(),
                    Cp1252ToUtf8(staff.Group).c_str(), staff.Channel + 1, staff.ItemCount(),
                    staff.Lyrics ? ", lyrics" : "", score.ShownStaves.Get(i) ? "" : ", hidden");
    }
    return song.ExitCode;
}

int RunDump(const std::vector<std::string>& args)
{
    std::string file;
    int exitCode = ExitOk;
    if (!TakeSingleFile(args, file, exitCode))
        return exitCode;
    TCliSong song = LoadCliSong(file);
    TJson out;
    out["load"] = LoadInfoJson(song.Info);
    if (song.Score) {
        out["score"] = ScoreJson(*song.Score);
        TJson staves = TJson::array();
        TPitchWalk walk;
        walk.Score = song.Score.get();
        for (int i = 0; i < song.Score->StaffCount(); ++i)
            staves.push_back(StaffJson(*song.Score->StaffAt(i), i, TPitchWalk::Hook, &walk));
        out["staves"] = staves;
    }
    const std::string text = out.dump(2) + "\n";
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "qmplayer-cli: cannot write the output\n");
        return ExitOther;
    }
    return song.ExitCode;
}
