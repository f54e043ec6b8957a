#include "support/ExampleSongs.h"

#include <cstdio>
#include <cstring>

#include "model/BarLineData.h"
#include "model/ChordData.h"
#include "model/ClefData.h"
#include "model/DynamicLevelData.h"
#include "model/DynamicVariance.h"
#include "model/KeyData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "model/RestNote.h"
#include "model/SpecialEnding.h"
#include "model/StaffLyrics.h"
#include "model/TempoData.h"
#include "model/TextExpression.h"
#include "model/TimeSignatureData.h"

namespace {

// A note by staff position, duration code and optional dot / accidental.
struct TNoteSpec {
    int Position;
    int Duration;
    bool Dotted = false;
    int Accidental = AccNone;
};

TMusicNote* MakeNote(const TNoteSpec& desc)
{
    auto* n = new TMusicNote();
    n->SetPosition(desc.Position);
    n->SetDuration(desc.Duration);
    n->SetAccidental(desc.Accidental);
    if (desc.Dotted)
        n->SetAttribute(AttrDotted);
    return n;
}

TChordData* MakeChord(std::initializer_list<int> positions, int duration, bool dotted)
{
    auto* c = new TChordData();
    for (int p : positions)
        c->AddChordNote(MakeNote({p, duration, dotted}));
    return c;
}

TRestNote* MakeRest(int duration)
{
    auto* r = new TRestNote();
    r->SetDuration(duration);
    return r;
}

void SetText(char* field, size_t size, const char* text)
{
    std::snprintf(field, size, "%s", text);
}

TMusicStaff* MakeStaff(const char* name, int channel, int patch, int clef)
{
    auto* staff = new TMusicStaff();
    SetText(staff->Name, sizeof staff->Name, name);
    staff->Channel = channel;
    staff->DefaultPatch.Patch = patch;
    staff->Volume = 100;
    staff->AppendItem(new TClefData(clef));
    return staff;
}

// Appends the notes of one bar per entry, each bar closed by a single bar line
// except the last.
void AppendBars(TMusicStaff& staff, const std::vector<std::vector<TNoteSpec>>& bars)
{
    for (size_t b = 0; b < bars.size(); ++b) {
        for (const TNoteSpec& desc : bars[b])
            staff.AppendItem(desc.Duration < 0 ? static_cast<TNotatedItem*>(MakeRest(-desc.Duration - 1))
                                               : MakeNote(desc));
        if (b + 1 < bars.size())
            staff.AppendItem(new TBarLineData());
    }
}

void SetInformation(TMusicScore& score, const char* title, const char* author)
{
    SetText(score.Title, sizeof score.Title, title);
    SetText(score.Author, sizeof score.Author, author);
    SetText(score.Copyright1, sizeof score.Copyright1, "Public domain");
    SetText(score.Copyright2, sizeof score.Copyright2, "Example song of QMPlayer");
}

// Treble positions: C5 -1, B4 0, A4 1, G4 2, F4 3, E4 4, D4 5.
// Bass positions: E3 -1, D3 0, C3 1, B2 2, A2 3, G2 4, F2 5, E2 6.
constexpr int Q = DurQuarter, H = DurHalf, E8 = DurEighth, R4 = -(DurQuarter + 1);

} // namespace

TMusicScore* MakeGreensleeves()
{
    auto* score = new TMusicScore();
    SetInformation(*score, "Greensleeves", "Traditional");

    TMusicStaff* melody = MakeStaff("Melody", 0, 74, ClefTreble);
    melody->AppendItem(new TTimeSignatureData(3, 2));
    melody->AppendItem(new TTempoData(96));
    melody->AppendItem(new TDynamicLevelData(3));
    AppendBars(*melody, {{{1, Q}}});
    melody->AppendItem(new TBarLineData(BarMasterRepeatOpen));
    AppendBars(*melody, {
        {{-1, H}, {-2, Q}},
        {{-3, Q, true}, {-4, E8}, {-3, Q}},
        {{-2, H}, {0, Q}},
        {{2, Q, true}, {1, E8}, {0, Q}},
    });
    melody->AppendItem(new TBarLineData());
    melody->AppendItem(new TDynamicVariance(0));
    AppendBars(*melody, {
        {{-1, H}, {1, Q}},
        {{1, Q, true}, {2, E8, false, AccSharp}, {1, Q}},
    });
    melody->AppendItem(new TBarLineData());
    melody->AppendItem(new TDynamicLevelData(4));
    AppendBars(*melody, {
        {{0, H}, {2, Q, false, AccSharp}},
        {{4, H}, {1, Q}},
    });
    melody->SetEndingBar(EndingMasterRepeatClose);
    melody->Lyrics = std::make_unique<TStaffLyrics>();
    melody->Lyrics->AppendLine()->ParseLine(
        "A-las, my love, you do me wrong to cast me off dis-cour-teous-ly, for I have loved", false, false);

    TMusicStaff* bass = MakeStaff("Bass", 1, 33, ClefBass);
    bass->AppendItem(new TTimeSignatureData(3, 2));
    bass->AppendItem(new TDynamicLevelData(3));
    AppendBars(*bass, {{{0, R4}}});
    bass->AppendItem(new TBarLineData(BarMasterRepeatOpen));
    AppendBars(*bass, {
        {{3, H, true}}, {{1, H, true}}, {{4, H, true}}, {{6, H, true}},
    });
    bass->AppendItem(new TBarLineData());
    bass->AppendItem(new TDynamicVariance(0));
    AppendBars(*bass, {{{3, H, true}}, {{6, H, true}}});
    bass->AppendItem(new TBarLineData());
    bass->AppendItem(new TDynamicLevelData(4));
    AppendBars(*bass, {{{6, H, true}}});
    bass->AppendItem(new TBarLineData());
    bass->AppendItem(MakeChord({3, 1, -1}, H, true));
    bass->SetEndingBar(EndingMasterRepeatClose);

    score->AddStaff(melody);
    score->AddStaff(bass);
    return score;
}

TMusicScore* MakeOdeToJoy()
{
    auto* score = new TMusicScore();
    SetInformation(*score, "Ode to Joy", "Ludwig van Beethoven");

    // D major: F and C sharp.
    TMusicStaff* melody = MakeStaff("Melody", 0, 1, ClefTreble);
    melody->AppendItem(new TKeyData(0x24, 0));
    melody->AppendItem(new TTimeSignatureData(4, 2));
    melody->AppendItem(new TTempoData(112));
    melody->AppendItem(new TDynamicLevelData(4));
    melody->AppendItem(new TTextExpression("dolce"));
    melody->AppendItem(new TBarLineData(BarMasterRepeatOpen));
    // F#4 E4... written as positions: F#4 3, G4 2, A4 1, E4 4, D4 5.
    AppendBars(*melody, {
        {{3, Q}, {3, Q}, {2, Q}, {1, Q}},
        {{1, Q}, {2, Q}, {3, Q}, {4, Q}},
        {{5, Q}, {5, Q}, {4, Q}, {3, Q}},
    });
    melody->AppendItem(new TBarLineData());
    melody->AppendItem(new TSpecialEnding(0x01));
    AppendBars(*melody, {{{3, Q, true}, {4, E8}, {4, H}}});
    melody->AppendItem(new TBarLineData(BarMasterRepeatClose));
    melody->AppendItem(new TSpecialEnding(0x02));
    melody->AppendItem(new TTempoData(100));
    AppendBars(*melody, {{{4, Q, true}, {5, E8}, {5, H}}});

    TMusicStaff* chords = MakeStaff("Piano", 1, 1, ClefBass);
    chords->AppendItem(new TKeyData(0x24, 0));
    chords->AppendItem(new TTimeSignatureData(4, 2));
    chords->AppendItem(new TDynamicLevelData(2));
    chords->AppendItem(new TBarLineData(BarMasterRepeatOpen));
    // D3 0, F#3 -2, A3 -4, A2 3, C#3 1, E3 -1, G2 4, B2 2.
    chords->AppendItem(MakeChord({0, -2, -4}, DurWhole, false));
    chords->AppendItem(new TBarLineData());
    chords->AppendItem(MakeChord({3, 1, -1}, H, false));
    chords->AppendItem(MakeChord({0, -2, -4}, H, false));
    chords->AppendItem(new TBarLineData());
    chords->AppendItem(MakeChord({4, 2, 0}, H, false));
    chords->AppendItem(MakeChord({3, 1, -1}, H, false));
    chords->AppendItem(new TBarLineData());
    chords->AppendItem(new TSpecialEnding(0x01));
    chords->AppendItem(MakeChord({3, 1, -1}, DurWhole, false));
    chords->AppendItem(new TBarLineData(BarMasterRepeatClose));
    chords->AppendItem(new TSpecialEnding(0x02));
    chords->AppendItem(MakeChord({0, -2, -4}, DurWhole, false));

    score->AddStaff(melody);
    score->AddStaff(chords);
    return score;
}

const std::vector<TExampleSong>& ExampleSongs()
{
    static const std::vector<TExampleSong> songs = {
        {"greensleeves.qms", 16, false, MakeGreensleeves},
        {"ode-to-joy.qms", 16, true, MakeOdeToJoy},
        {"ode-to-joy-v8.qms", 8, false, MakeOdeToJoy},
    };
    return songs;
}
