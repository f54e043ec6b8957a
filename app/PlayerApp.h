// The program's application object: owns what every window shares (the MIDI
// manager, the score player, the colours, the welcome score, the options,
// the file history, the status texts and the settings), creates the main
// window and ends the program when a command line asked to close after
// playing.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "app/FileHistory.h"
#include "app/PlaySettings.h"
#include "app/PlayerMessages.h"
#include "app/PlayerOptions.h"
#include "app/StatusTextStack.h"
#include "uikit/SongTextLines.h"

class TMidiManager;
class TMusicScore;
class TScoreMidiPlayer;
class TStaffColorHandles;
class TQMPlayerFrame;
class TQMPlayerClient;
class TAppMidiMessages;

struct TQMPlayerAppConfig {
    QString SettingsPath = TPlayerSettings::DefaultPath();
    // The MIDI utility library: a file name (looked for beside the program,
    // then on the library path) or a path.
    std::string MidiLibrary;
    // The output device by name; empty for the mapper.
    std::string OutputDevice;
    // Screen height for the text heights; 0 asks the primary screen.
    int ScreenHeight = 0;
    // Message boxes; none for the usual ones.
    TPlayerMessages* Messages = nullptr;
};

class TQMPlayerApp : public QObject {
    Q_OBJECT

public:
    static constexpr const char* AppName = "QMPlayer";
    static constexpr int IdleIntervalMs = 16;   // about 60 Hz while playing

    explicit TQMPlayerApp(const TQMPlayerAppConfig& config = {});
    ~TQMPlayerApp() override;
    TQMPlayerApp(const TQMPlayerApp&) = delete;
    TQMPlayerApp& operator=(const TQMPlayerApp&) = delete;

    // The one application object, none before construction.
    static TQMPlayerApp* Instance();

    // The library found beside the program or in the build tree.
    static std::string DefaultMidiLibrary();
    static TClientTextHeights TextHeightsFor(int screenHeight);
    // Builds the welcome score: one staff, the product name and maker, and
    // the title and page text styles in Times New Roman.
    static std::unique_ptr<TMusicScore> MakeWelcomeScore();

    // Creates the client and the frame around it; the client then shows
    // "Ready", opens the welcome score and posts its command-line event.
    void InitMainWindow(const TCommandLine& commandLine = {});
    // Writes the options (program end).
    void Terminate();

    // The frame caption for a song path ("Untitled" without one) and the
    // time display reset for the new song.
    void SetCaption(const QString& path);
    static QString CaptionFor(const QString& path);

    void SetCloseRequest(bool on);
    bool CloseRequest() const { return CloseRequested; }
    // Runs the idle processing while playing or while a close is pending.
    void WakeIdle();
    bool IsIdleRunning() const { return IdleTimer.isActive(); }
    // One round of the idle processing.
    void IdleAction();

    TMidiManager& Midi() { return *Manager; }
    TScoreMidiPlayer& Player() { return *ScorePlayer; }
    const TStaffColorHandles& Colors() const { return *ColorSet; }
    TMusicScore* WelcomeScore() const { return Welcome.get(); }
    const TClientTextHeights& TextHeights() const { return Heights; }
    TPlayerOptions& Options() { return PlayOptions; }
    TFileHistory& History() { return FileHistory; }
    const TPlayerSettings& Settings() const { return SettingsFile; }
    TQMStatusTextStack& Status() { return StatusTexts; }
    TPlayerMessages& Messages() { return *MessageBoxes; }
    const TCommandLine& CommandLine() const { return Arguments; }

    TQMPlayerFrame* Frame() const { return MainFrame; }
    TQMPlayerClient* Client() const { return PlayerClient; }

    void LoadHistory() { FileHistory.Load(); }
    void SaveHistory() { FileHistory.Save(); }
    void AddToHistory(const QString& path, const char* title) { FileHistory.Add(path, title); }

private:
    TPlayerSettings SettingsFile;
    TPlayerMessages OwnMessages;
    TPlayerMessages* MessageBoxes;
    std::unique_ptr<TAppMidiMessages> MidiMessages;
    std::unique_ptr<TMidiManager> Manager;
    std::unique_ptr<TStaffColorHandles> ColorSet;
    std::unique_ptr<TScoreMidiPlayer> ScorePlayer;
    TClientTextHeights Heights;
    TFileHistory FileHistory{&SettingsFile};
    std::unique_ptr<TMusicScore> Welcome;
    TPlayerOptions PlayOptions;
    TQMStatusTextStack StatusTexts;
    TCommandLine Arguments;
    bool CloseRequested = false;
    QTimer IdleTimer;
    TQMPlayerFrame* MainFrame = nullptr;   // owned through Qt (deleted here)
    TQMPlayerClient* PlayerClient = nullptr;
};
