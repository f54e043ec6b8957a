// The score view on a dense score: 16 staves of beamed sixteenth notes with
// lyrics, shown 1920 x 1080 at zoom 8: the layout of the band, a full paint
// into an image, and one play-highlight update on every staff.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <memory>
#include <string>

#include "model/BarLineData.h"
#include "model/ClefData.h"
#include "model/KeyData.h"
#include "model/MusicNote.h"
#include "model/MusicScore.h"
#include "model/StaffAudit.h"
#include "model/TimeSignatureData.h"
#include "perform/MidiFileBuf.h"
#include "perform/ScoreMidiPlayer.h"
#include "platform/qt/MusicFontLoader.h"
#include "platform/qt/QtDeviceContext.h"
#include "render/ScoreDrawInfo.h"
#include "render/ScoreViewState.h"
#include "render/StaffColorHandles.h"

namespace {

constexpr int Width = 1920, Height = 1080, Zoom = 8, Staves = 16, Bars = 64;

QGuiApplication& App()
{
    static int argc = 1;
    static char name[] = "qmbench";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept to the end of the program, like the view that uses it.
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    static bool font = LoadMusicFont();
    (void)font;
    return *app;
}

TMusicScore* MakeDenseScore()
{
    auto* score = new TMusicScore;
    score->Zoom = Zoom;
    for (int s = 0; s < Staves; ++s) {
        auto* staff = new TMusicStaff;
        staff->AppendItem(new TClefData(s % 2 ? ClefBass : ClefTreble));
        staff->AppendItem(new TKeyData(0x24, 0));
        staff->AppendItem(new TTimeSignatureData(4, 2));
        std::string text;
        for (int b = 0; b < Bars; ++b) {
            for (int n = 0; n < 16; ++n) {
                auto* note = new TMusicNote;
                note->SetDuration(DurSixteenth);
                note->SetPosition((n * 3 + b) % 9 - 4);
                note->SetStemDirection(StemUp);
                note->SetBeamState(n % 4 == 0 ? GroupFirst : n % 4 == 3 ? GroupEnd : GroupMiddle);
                staff->AppendItem(note);
                text += (n % 2 ? "la " : "Tra-");
            }
            staff->AppendItem(new TBarLineData());
        }
        staff->Lyrics = std::make_unique<TStaffLyrics>();
        staff->Lyrics->AppendLine()->ParseLine(text.c_str(), false, false);
        staff->SetBoundaries(-8, 12);
        score->AddStaff(staff);
    }
    AuditScore(score, true);
    return score;
}

// A window without a window: highlights go into the image.
class TImageHost : public TScoreViewHost {
public:
    explicit TImageHost(QImage& image) : Image(image) {}
    void InvalidateAll() override {}
    void RepaintNow() override {}
    void ScrollContents(int) override {}
    void UpdateScrollBar(bool, int, int) override {}
    void DrawOnClient(const std::function<void(TDeviceContext&)>& draw) override
    {
        QPainter p(&Image);
        TQtDeviceContext dc(&p);
        draw(dc);
    }
    QImage& Image;
};

struct TBenchView {
    TBenchView() : Score(MakeDenseScore()), Image(Width, Height, QImage::Format_RGB32), Host(Image)
    {
        App();
        View = std::make_unique<TScoreViewState>(Score.get(), &Colors, &Screen, Width, Height);
        View->SetHost(&Host);
        View->SetScore(Score.get());
        Events.Allocate(16);
        Player.Attach(Score.get());
        Player.Perform(Events);
    }
    void Paint()
    {
        Image.fill(Qt::white);
        QPainter p(&Image);
        TQtDeviceContext dc(&p);
        View->Paint(dc, 0, Width);
    }

    std::unique_ptr<TMusicScore> Score;
    QImage Image;
    TImageHost Host;
    TQtDeviceContext Screen;
    TStaffColorHandles Colors;
    std::unique_ptr<TScoreViewState> View;
    TMidiFileBuf Events{16};
    TScoreMidiPlayer Player;
};

TBenchView& Bench()
{
    App();
    // Kept to the end of the program: the application outlives it.
    static TBenchView* view = new TBenchView;
    return *view;
}

void BM_LayoutBand(benchmark::State& state)
{
    TBenchView& b = Bench();
    for (auto _ : state) {
        b.View->LayoutBand();
        benchmark::ClobberMemory();
    }
    int records = 0;
    for (int i = 0; i < b.View->DrawInfo().StaffCount(); ++i)
        records += b.View->DrawInfo().StaffInfo(i)->GetRecordCount();
    state.counters["records"] = records;
}
BENCHMARK(BM_LayoutBand)->Unit(benchmark::kMillisecond);

void BM_FullPaint(benchmark::State& state)
{
    TBenchView& b = Bench();
    b.View->LayoutBand();
    for (auto _ : state) {
        b.Paint();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMillisecond);

// Moves the play position by one sixteenth within the first bars and redraws
// the highlight of every staff.
void BM_PlayHighlightUpdate(benchmark::State& state)
{
    TBenchView& b = Bench();
    b.View->HScroll(ScrollThumbPosition, 0);
    b.Paint();
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        b.Player.SeekTo(48 * (step++ % 32));
        state.ResumeTiming();
        b.View->UpdatePlayHighlight(b.Player);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlayHighlightUpdate)->Unit(benchmark::kMicrosecond);

} // namespace
