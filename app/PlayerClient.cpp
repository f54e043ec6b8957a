#include "app/PlayerClient.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStyle>
#include <QLabel>
#include <QVBoxLayout>
#include <cstring>

#include "app/BusyCursor.h"
#include "app/MixerLauncher.h"
#include "app/PlayerApp.h"
#include "app/PlayerFrame.h"
#include "app/dialogs/SongInfoDialog.h"
#include "fileio/FileRepair.h"
#include "fileio/ScoreLoader.h"
#include "mididev/MidiManager.h"
#include "model/MusicScore.h"
#include "model/StaffAudit.h"
#include "perform/MidiFileBuf.h"
#include "perform/ScoreMidiPlayer.h"
#include "platform/qt/AnsiText.h"
#include "smfimport/OpenMidiFile.h"
#include "uikit/StaticScoreView.h"
#include "uikit/LongTaskProgressDialog.h"
#include "uikit/SongTextLines.h"

namespace {

QString Field(const char* text, size_t size) { return AnsiToQString(std::string_view(text, strnlen(text, size))); }

bool IsMidiPath(const QString& path)
{
    const QString suffix = QFileInfo(path).fileName();
    const int dot = int(suffix.lastIndexOf(u'.'));
    if (dot < 0)
        return false;
    const QString ext = suffix.mid(dot);
    return ext.compare(QLatin1String(".rmi"), Qt::CaseInsensitive) == 0 ||
           ext.compare(QLatin1String(".kar"), Qt::CaseInsensitive) == 0 ||
           ext.compare(QLatin1String(".mid"), Qt::CaseInsensitive) == 0;
}

// The caption of the newer-format message: the writer's version.
QString WriterVersionCaption(const TScoreLoadInfo& info)
{
    QString caption = QString::asprintf("%d.%d", info.WriterVersion / 256, info.WriterVersion % 256);
    if (info.WriterRelease == 0)
        caption += QStringLiteral(" Preview 1");
    else if (info.WriterRelease == 1)
        caption += QStringLiteral(" Beta 1");
    return caption;
}

} // namespace

TQMPlayerClient::TQMPlayerClient(TQMPlayerApp* app, QWidget* parent)
    : QWidget(parent), App(app), Events(std::make_unique<TMidiFileBuf>(PlayBufferGrowBy))
{
    setObjectName(QStringLiteral("TQMPlayerClient"));
    Events->Allocate(PlayBufferBlocks);
    Score = App->WelcomeScore();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const Qt::Alignment alignments[4] = {Qt::AlignHCenter | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
                                         Qt::AlignHCenter | Qt::AlignVCenter, Qt::AlignHCenter | Qt::AlignVCenter};
    for (int i = 0; i < 4; ++i) {
        auto* line = new QLabel(this);
        line->setObjectName(QStringLiteral("TextLine%1").arg(101 + i));
        line->setAlignment(alignments[i]);
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::black);
        line->setPalette(palette);
        Lines[i] = line;
    }
    ScoreView = new TStaticScoreView(this, ViewId, QStringLiteral("Standard"), 0, 0, 100, 100, Score, &App->Colors());
    ScoreView->SetShowNames(true);
    ScoreView->EnableCaret(true);
    layout->addWidget(Lines[0]);
    layout->addWidget(Lines[1]);
    layout->addWidget(ScoreView, 1);
    layout->addWidget(Lines[2]);
    layout->addWidget(Lines[3]);
}

TQMPlayerClient::~TQMPlayerClient()
{
    StopIfPlaying();
    // The library posts no more: drop what it left in the queue.
    QCoreApplication::removePostedEvents(this);
    App->Player().Attach(nullptr);
    if (!ShowsWelcomeScore())
        delete Score;
    Score = nullptr;
}

bool TQMPlayerClient::ShowsWelcomeScore() const { return Score == App->WelcomeScore(); }

void TQMPlayerClient::WindowCreated()
{
    App->Status().Reset();
    OpenSong();
    QCoreApplication::postEvent(this, new QEvent(TPlayerEvents::Init()));
}

// ---- opening ----

TMusicScore* TQMPlayerClient::OpenMidiSong(const QString& path, std::unique_ptr<TMidiFileBuf>& events)
{
    events = std::make_unique<TMidiFileBuf>(PlayBufferGrowBy);
    events->Allocate(PlayBufferBlocks);
    const QByteArray name = path.toLocal8Bit();
    TMidiOpenResult result;
    std::unique_ptr<TMusicScore> score;
    {
        TLongTaskProgressDialog progress(window(), QStringLiteral("QMPlayer"));
        score = OpenMidiFile(name.constData(), *events, &progress, &result);
    }
    if (!score && result.Status != MidiCancelled) {
        if (!result.Message.empty())
            App->Messages().Show(window(), QString::fromLocal8Bit(result.Message.c_str()),
                                 QStringLiteral("Error - Could not open"), TPlayerMessages::NoIcon);
        else
            App->Messages().Show(window(), path, QStringLiteral("Error - Could not open"), TPlayerMessages::NoIcon);
    }
    return score.release();
}

TMusicScore* TQMPlayerClient::LoadSong(const QString& path)
{
    const QByteArray name = path.toLocal8Bit();
    TScoreLoadInfo info{};
    TMusicScore* score = LoadScore(name.constData(), info);
    if ((info.Status == NotAScore || info.Status == ReadError) && LooksTranslated(name.constData())) {
        const QString text = QStringLiteral("File: %1\n\nThis binary file appears to have been improperly treated as "
                                            "an ASCII file. Would you like this program to attempt an automatic "
                                            "recovery of this file?")
                                 .arg(QFileInfo(path).fileName());
        if (App->Messages().AskYesNo(window(), text, QStringLiteral("Improper File Translation"),
                                     TPlayerMessages::Question)) {
            delete score;
            score = LoadRepairedScore(name.constData(), info);
        }
    }
    if ((info.Status == Current || info.Status == Older) && score) {
        AuditScore(score, true);
        return score;
    }
    delete score;
    if (info.Status == Newer)
        App->Messages().Show(window(), QStringLiteral("File uses new format"), WriterVersionCaption(info),
                             TPlayerMessages::NoIcon);
    else
        App->Messages().Show(window(), path, QStringLiteral("Error - Could not open"), TPlayerMessages::NoIcon);
    return nullptr;
}

bool TQMPlayerClient::OpenSong(const QString& path)
{
    TQMPlayerBusy busy(&App->Status());
    if (Playing)
        CmStop();

    TMusicScore* score = nullptr;
    std::unique_ptr<TMidiFileBuf> midiEvents;
    const bool midi = !path.isEmpty() && IsMidiPath(path);
    if (path.isEmpty())
        score = App->WelcomeScore();
    else if (midi)
        score = OpenMidiSong(path, midiEvents);
    else
        score = LoadSong(path);
    if (!score)
        return false;

    TScoreMidiPlayer& player = App->Player();
    if (midi) {
        Events = std::move(midiEvents);
        player.Attach(score);
        player.UseBufferDuration(*Events);
    } else {
        Events->Reset();
        player.Attach(score);
        player.Perform(*Events);
        if (score->MeasureNumberStyle != 0)
            score->MeasureNumberInterval = 5;
    }

    TMusicScore* old = Score;
    Score = score;
    ScoreView->SetScore(score);
    ScoreView->HideHiddenGroups();
    ScoreView->EnableCaret(true);
    if (old != score && old != App->WelcomeScore())
        delete old;

    SetTextLines();
    App->SetCaption(path);
    if (!path.isEmpty())
        App->AddToHistory(path, score->Title);

    if (Events->HasOverflowed())
        App->Messages().Show(window(), QStringLiteral("Midi Data Overflow Detected. Not all of the song will play."),
                             QStringLiteral("Midi Play Warning"), TPlayerMessages::Information);
    ScoreView->setFocus(Qt::OtherFocusReason);
    if (!path.isEmpty() && App->Options().AutoPlay)
        PostPlay();
    return true;
}

void TQMPlayerClient::SetTextLines()
{
    const TClientTextHeights& heights = App->TextHeights();
    Lines[0]->setText(Field(Score->Title, sizeof Score->Title));
    Lines[1]->setText(Field(Score->Author, sizeof Score->Author));
    Lines[2]->setText(Field(Score->Copyright1, sizeof Score->Copyright1));
    Lines[3]->setText(Field(Score->Copyright2, sizeof Score->Copyright2));
    const QFont fonts[4] = {TextStyleFont(Score->Fonts->FontOf(FontPageTitleText), heights.Title),
                            TextStyleFont(Score->Fonts->FontOf(FontPageText), heights.Author),
                            TextStyleFont(Score->Fonts->FontOf(FontPageSmallText), heights.Small),
                            TextStyleFont(Score->Fonts->FontOf(FontPageSmallText), heights.Small)};
    const int pixels[4] = {heights.Title, heights.Author, heights.Small, heights.Small};
    for (int i = 0; i < 4; ++i) {
        Lines[i]->setFont(fonts[i]);
        Lines[i]->setFixedHeight(pixels[i] * 13 / 10);
    }
    // The author line keeps ten border widths from the right edge.
    Lines[1]->setContentsMargins(0, 0, 10 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth), 0);
    for (QLabel* line : Lines)
        line->update();
}

// ---- commands ----

void TQMPlayerClient::CmInfo()
{
    TSongInfoDialog dialog(window(), *Score);
    dialog.exec();
}

void TQMPlayerClient::CmZoomIn() { ScoreView->ZoomBy(2); }

void TQMPlayerClient::CmZoomOut() { ScoreView->ZoomBy(-2); }

void TQMPlayerClient::PostPlay()
{
    PlayPending = true;
    QMetaObject::invokeMethod(this, &TQMPlayerClient::CmPlay, Qt::QueuedConnection);
}

void TQMPlayerClient::CmPlay()
{
    PlayPending = false;
    const TSingleMidiBuf* first = Events->GetBlock(0);
    if (!first || first->Count < 2)
        return;
    TMidiManager& midi = App->Midi();
    TQMPlayerFrame* frame = App->Frame();
    if (Playing) {
        midi.Stop();
        if (frame)
            frame->ShowZero();
        update();
        App->Status().Replace(QStringLiteral("Repeating..."));
    } else {
        if (midi.IsPlaying()) {
            App->Messages().Show(window(),
                                 QStringLiteral("The MIDI player is currently in use by another program. The song "
                                                "cannot be performed at this time."),
                                 QStringLiteral("Play Not Possible"), TPlayerMessages::Information);
            return;
        }
        App->Status().Push(QStringLiteral("Playing..."));
        Playing = true;
        midi.SetActive(true);
        midi.CachePatches(*Events);
    }
    repaint();
    TScoreMidiPlayer& player = App->Player();
    player.Attach(Score);
    player.SeekTo(0);
    ScoreView->UpdatePlayHighlight(player);
    if (frame)
        frame->StartClock();
    App->WakeIdle();
    if (!midi.Play(Notify.Target(), *Events)) {
        CmStop();
        App->Messages().Show(window(), QStringLiteral("Initiate Play Failed"), QStringLiteral("Play Failed"),
                             TPlayerMessages::Information);
    }
}

void TQMPlayerClient::CmStop()
{
    TMidiManager& midi = App->Midi();
    if (Playing) {
        Playing = false;
        midi.Stop();
        midi.SetActive(false);
        if (App->Frame())
            App->Frame()->ShowZero();
        repaint();
        App->Status().Pop();
        return;
    }
    TQMPlayerBusy busy(&App->Status());
    midi.SetActive(true);
    midi.ResetDevices();
    midi.SetActive(false);
    repaint();
}

void TQMPlayerClient::StopIfPlaying()
{
    if (Playing)
        CmStop();
}

void TQMPlayerClient::CmVolumeControl()
{
    if (TMixerLauncher::Launch())
        return;
    App->Messages().Show(nullptr,
                         QStringLiteral("The volume control apparently failed to open.\n\nYou might want to go to the "
                                        "Multimedia applet in the Control Panel to investigate whether your system "
                                        "supports a volume control."),
                         QStringLiteral("Volume Control Open Error"), TPlayerMessages::Information);
}

// ---- play display and notifications ----

void TQMPlayerClient::UpdatePlayDisplay()
{
    TScoreMidiPlayer& player = App->Player();
    if (player.SeekTo(App->Midi().GetSongPosition()))
        ScoreView->UpdatePlayHighlight(player);
}

void TQMPlayerClient::MidiNotification(uint32_t value)
{
    if (value == QM_SEQ_NEXT_BLOCK) {
        App->Midi().LoadNextBlock();
    } else if (value == QM_SEQ_SONG_END) {
        // A late end notice of a playback already stopped changes nothing.
        if (!Playing)
            return;
        if (App->Options().AutoRepeat)
            CmPlay();
        else
            CmStop();
    }
}

void TQMPlayerClient::ProcessCommandLine(const TCommandLine& line)
{
    if (!line.File.isEmpty()) {
        const bool opened = OpenSong(line.File);
        if (line.Play && opened && !ShowsWelcomeScore() && !App->Options().AutoPlay)
            PostPlay();
    }
    if (line.Close)
        App->SetCloseRequest(true);
    ScoreView->setFocus(Qt::OtherFocusReason);
}

bool TQMPlayerClient::event(QEvent* e)
{
    if (e->type() == TPlayerEvents::MidiSeq()) {
        MidiNotification(static_cast<TMidiSeqEvent*>(e)->Value);
        return true;
    }
    if (e->type() == TPlayerEvents::Init()) {
        ProcessCommandLine(App->CommandLine());
        return true;
    }
    return QWidget::event(e);
}
