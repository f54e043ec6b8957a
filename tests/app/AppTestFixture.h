// A player application on a settings file of its own in a temporary
// directory, with recorded message boxes and the MIDI library's capture
// output in place of a sound card.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "app/PlayerApp.h"
#include "app/PlayerMessages.h"

struct TRecordedMessage {
    QString Text;
    QString Caption;
    TPlayerMessages::TIcon Icon;
    bool Question;
};

class TRecordedMessages : public TPlayerMessages {
public:
    void Show(QWidget*, const QString& text, const QString& caption, TIcon icon) override
    {
        Messages.push_back({text, caption, icon, false});
    }
    bool AskYesNo(QWidget*, const QString& text, const QString& caption, TIcon icon) override
    {
        Messages.push_back({text, caption, icon, true});
        return Answer;
    }

    std::vector<TRecordedMessage> Messages;
    bool Answer = false;
};

class AppTest : public ::testing::Test {
protected:
    static constexpr const char* CaptureDevice = "QMPlayer Capture";

    void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
    void TearDown() override { App.reset(); }

    QString IniPath() const { return Dir.filePath(QStringLiteral("qmplayer.ini")); }
    QString TempFile(const QString& name) const { return Dir.filePath(name); }
    static QString Example(const char* name)
    {
        return QStringLiteral(QM_SOURCE_DIR "/examples/") + QString::fromLatin1(name);
    }

    // A new application with its main window; the start-up events handled.
    void StartApp(const TCommandLine& commandLine = {}, int screenHeight = 800, bool capture = true)
    {
        App.reset();
        TQMPlayerAppConfig config;
        config.SettingsPath = IniPath();
        config.ScreenHeight = screenHeight;
        config.Messages = &Messages;
        if (capture)
            config.OutputDevice = CaptureDevice;
        App = std::make_unique<TQMPlayerApp>(config);
        App->InitMainWindow(commandLine);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // Runs the event loop until done() holds or the time is up.
    static bool RunUntil(const std::function<bool()>& done, int timeoutMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    QTemporaryDir Dir;
    TRecordedMessages Messages;
    std::unique_ptr<TQMPlayerApp> App;
};
