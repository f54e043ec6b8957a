// The client window of the main frame: the song's title, author and
// copyright lines around the score view; opening, playing, stopping and
// repeating songs, and the MIDI library's notifications.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "app/CommandLine.h"
#include "app/QtMidiNotifyTarget.h"

class QLabel;
class TMidiFileBuf;
class TMusicScore;
class TQMPlayerApp;
class TStaticScoreView;

class TQMPlayerClient : public QWidget {
    Q_OBJECT

public:
    static constexpr int PlayBufferBlocks = 16;
    static constexpr int PlayBufferGrowBy = 16;
    static constexpr int ViewId = 200;

    explicit TQMPlayerClient(TQMPlayerApp* app, QWidget* parent = nullptr);
    ~TQMPlayerClient() override;

    // After the window exists: "Ready", the welcome score, then the
    // command-line event posted to itself.
    void WindowCreated();

    // Opens a song file, a MIDI file, or the welcome score for an empty
    // path. True when the song came up; on failure the previous song stays.
    bool OpenSong(const QString& path = {});
    // The song position from the library, the score player moved there and
    // the view's play highlight redrawn when it changed.
    void UpdatePlayDisplay();
    void ProcessCommandLine(const TCommandLine& line);
    // Stops a playback of this client (program end).
    void StopIfPlaying();
    // Posts the Play command to this window.
    void PostPlay();

    bool IsPlaying() const { return Playing; }
    bool IsPlayPending() const { return PlayPending; }
    TMusicScore* CurrentScore() const { return Score; }
    bool ShowsWelcomeScore() const;
    TStaticScoreView* View() const { return ScoreView; }
    TMidiFileBuf& PlayBuffer() { return *Events; }
    QLabel* TitleLine() const { return Lines[0]; }
    QLabel* AuthorLine() const { return Lines[1]; }
    QLabel* Copyright1Line() const { return Lines[2]; }
    QLabel* Copyright2Line() const { return Lines[3]; }

public slots:
    void CmInfo();
    void CmZoomIn();
    void CmZoomOut();
    void CmPlay();
    void CmStop();
    void CmVolumeControl();

protected:
    bool event(QEvent* event) override;

private:
    TMusicScore* LoadSong(const QString& path);
    TMusicScore* OpenMidiSong(const QString& path, std::unique_ptr<TMidiFileBuf>& events);
    void SetTextLines();
    void MidiNotification(uint32_t value);

    TQMPlayerApp* App;
    QLabel* Lines[4] = {};
    TStaticScoreView* ScoreView = nullptr;
    std::unique_ptr<TMidiFileBuf> Events;
    TMusicScore* Score = nullptr;   // owned unless it is the welcome score
    bool Playing = false;
    bool PlayPending = false;
    TQtMidiNotifyTarget Notify{this};
};
