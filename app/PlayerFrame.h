// The main window: menus, accelerators, the "Tools" toolbar and the status
// bar with the hint area and the time field, around the player client. It
// carries out the file and window commands and passes the others on.
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>

class QAction;
class QLabel;
class QToolBar;
class QUrl;
class TQMPlayerApp;
class TQMPlayerClient;

class TQMPlayerFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr const char* ClassName = "TQMPlayerFrame";
    static constexpr int TimeFieldChars = 10;

    // Command ids of the menu, the toolbar and the accelerators.
    enum TCommand : int {
        CmFileMenu = 101,
        CmOpenId = 102,
        CmInfoId = 103,
        CmExitId = 104,
        CmHistoryId = 105,
        CmViewMenu = 120,
        CmZoomInId = 121,
        CmZoomOutId = 122,
        CmToolsMenu = 130,
        CmPlayId = 131,
        CmStopId = 132,
        CmVolumeId = 133,
        CmOptionsId = 134,
        CmHelpMenu = 140,
        CmHelpId = 141,
        CmAboutId = 142,
        CmToolbarsId = 20304,
        CmStatusBarId = 32040
    };

    TQMPlayerFrame(TQMPlayerApp* app, TQMPlayerClient* client, const QString& caption);
    ~TQMPlayerFrame() override;

    // The hint text of a command: status-bar part and tool-tip part.
    static QString HintText(int id);
    static QString StatusHint(int id);
    static QString ToolTipHint(int id);
    // "%d:%02d", or "%d:%d:%02d" from one hour on.
    static QString FormatTime(uint32_t ms);

    // Time display.
    void ResetTimeDisplay(uint32_t totalMs);
    void StartClock();
    void ShowZero();
    void UpdatePlay();
    QString TimeText() const;

    // The status text in the hint area.
    QString StatusText() const;

    QAction* Action(int id) const;
    QToolBar* Toolbar() const { return Tools; }
    TQMPlayerClient* Client() const { return PlayerClient; }
    // The Open dialog's filter and default suffix.
    static QString OpenFilter();
    static QString OpenDefaultSuffix();
    // Opens a dropped or chosen file as the user's own open.
    void OpenByUser(const QString& path);
    // Files dropped on the frame: the first local file is opened.
    bool OpenDropped(const QList<QUrl>& urls);

public slots:
    void CmOpen();
    void CmHistory();
    void CmOptions();
    void CmToolbars();
    void CmHelp();
    void CmAbout();
    void CmStatusBar(bool shown);
    void CmExit();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* MakeAction(int id, const QString& text, const QString& icon = {});
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void SetTimeText(const QString& text, bool always);
    static int64_t NowMs();

    TQMPlayerApp* App;
    TQMPlayerClient* PlayerClient;
    QToolBar* Tools = nullptr;
    QLabel* StatusLabel = nullptr;
    QLabel* TimeField = nullptr;
    QString TotalText;
    uint32_t TotalMs = 0;
    int64_t ElapsedStart = 0;
    QString ShownText;
};
