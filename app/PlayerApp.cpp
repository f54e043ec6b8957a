#include "app/PlayerApp.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <cstring>

#include "app/BusyCursor.h"
#include "app/PlayerClient.h"
#include "app/PlayerFrame.h"
#include "mididev/MidiLibrary.h"
#include "mididev/MidiManager.h"
#include "model/MusicScore.h"
#include "model/MusicStaff.h"
#include "perform/ScoreMidiPlayer.h"
#include "render/StaffColorHandles.h"

// The MIDI manager's messages go to the application's message boxes, with
// no owner window.
class TAppMidiMessages : public TMidiUserMessages {
public:
    explicit TAppMidiMessages(TPlayerMessages* messages) : Messages(messages) {}
    void ShowMessage(const std::string& text, const std::string& caption, TMidiMessageIcon icon) override
    {
        Messages->Show(nullptr, QString::fromLocal8Bit(text.c_str()), QString::fromLocal8Bit(caption.c_str()),
                       icon == TMidiMessageIcon::Stop ? TPlayerMessages::Stop : TPlayerMessages::Information);
    }
    void SetBusy(bool busy) override { Cursor.SetBusy(busy); }

private:
    TPlayerMessages* Messages;
    TQMBusyCursor Cursor{false};
};

// The resources live in the static library: bring them in explicitly.
static void InitPlayerResources()
{
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(help);
}

namespace {

TQMPlayerApp* TheApp = nullptr;

void CopyField(char* to, size_t size, const char* text)
{
    std::strncpy(to, text, size - 1);
    to[size - 1] = 0;
}

} // namespace

TQMPlayerApp* TQMPlayerApp::Instance() { return TheApp; }

std::string TQMPlayerApp::DefaultMidiLibrary()
{
    const std::string besideProgram = ExecutableFolder() + "/" + QM_MIDILIB_FILE_NAME;
    if (QFileInfo::exists(QString::fromLocal8Bit(besideProgram.c_str())))
        return besideProgram;
#ifdef QM_MIDILIB_BUILD_FILE
    if (QFileInfo::exists(QStringLiteral(QM_MIDILIB_BUILD_FILE)))
        return QM_MIDILIB_BUILD_FILE;
#endif
    return QM_MIDILIB_FILE_NAME;
}

TClientTextHeights TQMPlayerApp::TextHeightsFor(int screenHeight)
{
    return TClientTextHeights::FromScreenHeight(screenHeight);
}

std::unique_ptr<TMusicScore> TQMPlayerApp::MakeWelcomeScore()
{
    auto score = std::make_unique<TMusicScore>();
    score->AddStaff(new TMusicStaff);
    CopyField(score->Title, sizeof score->Title, "Quavermark Player");
    CopyField(score->Author, sizeof score->Author, "by the QMPlayer developers");
    score->Fonts->FontOf(FontPageTitleText).Set("Times New Roman", 24, FontBold | FontItalic, 0);
    score->Fonts->FontOf(FontPageText).Set("Times New Roman", 24, FontItalic, 0);
    return score;
}

TQMPlayerApp::TQMPlayerApp(const TQMPlayerAppConfig& config)
    : SettingsFile(config.SettingsPath), MessageBoxes(config.Messages ? config.Messages : &OwnMessages)
{
    TheApp = this;
    InitPlayerResources();
    MidiMessages = std::make_unique<TAppMidiMessages>(MessageBoxes);
    Manager = std::make_unique<TMidiManager>(
        MidiMessages.get(), config.MidiLibrary.empty() ? DefaultMidiLibrary() : config.MidiLibrary);
    ColorSet = std::make_unique<TStaffColorHandles>();
    ScorePlayer = std::make_unique<TScoreMidiPlayer>();
    int height = config.ScreenHeight;
    if (height <= 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        height = screen ? screen->geometry().height() : 768;
    }
    Heights = TextHeightsFor(height);
    FileHistory.Clear();
    Welcome = MakeWelcomeScore();
    PlayOptions = TPlayerOptions{};
    if (config.OutputDevice.empty()) {
        Manager->UseMapperPort();
    } else {
        const std::string name = config.OutputDevice;
        Manager->UsePorts(&name, 1);
    }
    // Instance initialisation.
    SettingsFile.ReadOptions(PlayOptions);

    IdleTimer.setInterval(IdleIntervalMs);
    connect(&IdleTimer, &QTimer::timeout, this, &TQMPlayerApp::IdleAction);
}

TQMPlayerApp::~TQMPlayerApp()
{
    IdleTimer.stop();
    if (PlayerClient)
        PlayerClient->StopIfPlaying();
    // The client goes with the frame; neither is reached while they go.
    TQMPlayerFrame* frame = MainFrame;
    MainFrame = nullptr;
    PlayerClient = nullptr;
    delete frame;
    ScorePlayer->Attach(nullptr);
    ScorePlayer.reset();
    ColorSet.reset();
    Manager.reset();
    if (TheApp == this)
        TheApp = nullptr;
}

void TQMPlayerApp::InitMainWindow(const TCommandLine& commandLine)
{
    Arguments = commandLine;
    PlayerClient = new TQMPlayerClient(this);
    MainFrame = new TQMPlayerFrame(this, PlayerClient, QString::fromLatin1(AppName));
    PlayerClient->WindowCreated();
}

void TQMPlayerApp::Terminate() { SettingsFile.WriteOptions(PlayOptions); }

QString TQMPlayerApp::CaptionFor(const QString& path)
{
    const QString name = path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path).completeBaseName();
    return QStringLiteral("%1 - %2").arg(name, QString::fromLatin1(AppName));
}

void TQMPlayerApp::SetCaption(const QString& path)
{
    if (!MainFrame)
        return;
    MainFrame->setWindowTitle(CaptionFor(path));
    MainFrame->ResetTimeDisplay(ScorePlayer->GetTotalMs());
}

void TQMPlayerApp::SetCloseRequest(bool on)
{
    CloseRequested = on;
    if (on)
        WakeIdle();
}

void TQMPlayerApp::WakeIdle()
{
    if (!IdleTimer.isActive())
        IdleTimer.start();
}

void TQMPlayerApp::IdleAction()
{
    if (Manager->IsPlaying()) {
        if (MainFrame)
            MainFrame->UpdatePlay();
        return;
    }
    // Nothing plays: the client may still be about to start or to stop.
    const bool clientBusy = PlayerClient && (PlayerClient->IsPlaying() || PlayerClient->IsPlayPending());
    if (CloseRequested) {
        if (clientBusy || QApplication::activeModalWidget())
            return;
        IdleTimer.stop();
        if (MainFrame)
            QMetaObject::invokeMethod(MainFrame, "CmExit", Qt::QueuedConnection);
        return;
    }
    if (!clientBusy)
        IdleTimer.stop();
}
