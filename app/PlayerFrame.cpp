#include "app/PlayerFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <chrono>

#include "app/PlayerApp.h"
#include "app/PlayerClient.h"
#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/FileHistoryDialog.h"
#include "app/dialogs/HelpWindow.h"
#include "app/dialogs/OptionsDialog.h"
#include "app/dialogs/ToolbarListDialog.h"

namespace {

struct THint {
    int Id;
    const char* Text;
};

const THint Hints[] = {
    {101, "File operations"},
    {102, "Open another song\nOpen another song (Ctrl+O)"},
    {103, "Show information about the song\nInformation from the author (Ctrl+I)"},
    {104, "Quit the program"},
    {105, "View a list of recently open songs\tFile History"},
    {120, "View options"},
    {121, "Zoom in on the score\nZoom In (+)"},
    {122, "Zoom out of the score\nZoom Out (-)"},
    {130, "Tools"},
    {131, "Play the song\nStart Play (F5)"},
    {132, "Stop playing the song or send all notes off when not playing\nStop Play (Esc)"},
    {133, "Open the Windows Volume Control\nWindows Volume Control"},
    {134, "Options"},
    {140, "Help commands"},
    {141, "Open help contents"},
    {142, "About this program"},
    {32040, "Show and hide the status bar"},
    {20304, "Enable/disable toolbars"},
};

// Where the two parts of a hint meet: a line feed (one text uses a tab).
int HintSplit(const QString& text)
{
    const int lf = int(text.indexOf(u'\n'));
    return lf >= 0 ? lf : int(text.indexOf(u'\t'));
}

} // namespace

QString TQMPlayerFrame::HintText(int id)
{
    for (const THint& h : Hints)
        if (h.Id == id)
            return QString::fromLatin1(h.Text);
    return {};
}

QString TQMPlayerFrame::StatusHint(int id)
{
    const QString text = HintText(id);
    const int split = HintSplit(text);
    return split < 0 ? text : text.left(split);
}

QString TQMPlayerFrame::ToolTipHint(int id)
{
    const QString text = HintText(id);
    const int split = HintSplit(text);
    return split < 0 ? text : text.mid(split + 1);
}

QString TQMPlayerFrame::FormatTime(uint32_t ms)
{
    const uint32_t hours = ms / 3600000;
    const uint32_t minutes = (ms % 3600000) / 60000;
    const uint32_t seconds = (ms % 60000) / 1000;
    if (hours == 0)
        return QString::asprintf("%u:%02u", minutes, seconds);
    return QString::asprintf("%u:%u:%02u", hours, minutes, seconds);
}

QString TQMPlayerFrame::OpenFilter()
{
    return QStringLiteral("Song Files (*.QMS *.MID *.RMI *.KAR *.qms *.mid *.rmi *.kar)");
}

// Lower case: the file system tells the cases apart and the songs are
// named in lower case.
QString TQMPlayerFrame::OpenDefaultSuffix() { return QStringLiteral("qms"); }

TQMPlayerFrame::TQMPlayerFrame(TQMPlayerApp* app, TQMPlayerClient* client, const QString& caption)
    : App(app), PlayerClient(client)
{
    setObjectName(QString::fromLatin1(ClassName));
    setWindowTitle(caption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/qmplayer.svg")));
    setCentralWidget(client);
    BuildMenus();
    BuildStatusBar();
    BuildToolbar();
    ShownText.clear();
    setAcceptDrops(true);

    App->Status().SetShowFunction([this](const QString& text) {
        if (StatusLabel)
            StatusLabel->setText(text);
    });

    // Window set-up: the status bar as it was left.
    if (!App->Settings().ReadShowStatusBar())
        QMetaObject::invokeMethod(this, [this] { Action(CmStatusBarId)->trigger(); }, Qt::QueuedConnection);
}

TQMPlayerFrame::~TQMPlayerFrame() { App->Status().SetShowFunction({}); }

QAction* TQMPlayerFrame::MakeAction(int id, const QString& text, const QString& icon)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("cm%1").arg(id));
    action->setData(id);
    action->setStatusTip(StatusHint(id));
    action->setToolTip(ToolTipHint(id));
    if (!icon.isEmpty())
        action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(icon)));
    addAction(action);
    return action;
}

QAction* TQMPlayerFrame::Action(int id) const { return findChild<QAction*>(QStringLiteral("cm%1").arg(id)); }

void TQMPlayerFrame::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->menuAction()->setStatusTip(StatusHint(CmFileMenu));
    QAction* open = MakeAction(CmOpenId, QStringLiteral("&Open...\tCtrl+O"), QStringLiteral("open"));
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    connect(open, &QAction::triggered, this, &TQMPlayerFrame::CmOpen);
    file->addAction(open);
    QAction* info = MakeAction(CmInfoId, QStringLiteral("&Info...\tCtrl+I"), QStringLiteral("info"));
    info->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    connect(info, &QAction::triggered, PlayerClient, &TQMPlayerClient::CmInfo);
    file->addAction(info);
    file->addSeparator();
    QAction* history = MakeAction(CmHistoryId, QStringLiteral("&History..."));
    connect(history, &QAction::triggered, this, &TQMPlayerFrame::CmHistory);
    file->addAction(history);
    file->addSeparator();
    QAction* exit = MakeAction(CmExitId, QStringLiteral("E&xit"));
    connect(exit, &QAction::triggered, this, &TQMPlayerFrame::CmExit);
    file->addAction(exit);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->menuAction()->setStatusTip(StatusHint(CmViewMenu));
    QAction* zoomIn = MakeAction(CmZoomInId, QStringLiteral("Zoom &In"), QStringLiteral("zoomin"));
    zoomIn->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::ALT | Qt::Key_Plus),
                          QKeySequence(Qt::KeypadModifier | Qt::Key_Plus),
                          QKeySequence(Qt::SHIFT | Qt::Key_Plus)});
    connect(zoomIn, &QAction::triggered, PlayerClient, &TQMPlayerClient::CmZoomIn);
    view->addAction(zoomIn);
    QAction* zoomOut = MakeAction(CmZoomOutId, QStringLiteral("Zoom &Out"), QStringLiteral("zoomout"));
    zoomOut->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence(Qt::ALT | Qt::Key_Minus),
                           QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)});
    connect(zoomOut, &QAction::triggered, PlayerClient, &TQMPlayerClient::CmZoomOut);
    view->addAction(zoomOut);
    view->addSeparator();
    QAction* statusBarAction = MakeAction(CmStatusBarId, QStringLiteral("&Status Bar"));
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);
    connect(statusBarAction, &QAction::toggled, this, &TQMPlayerFrame::CmStatusBar);
    view->addAction(statusBarAction);
    QAction* toolbars = MakeAction(CmToolbarsId, QStringLiteral("&Toolbars..."));
    connect(toolbars, &QAction::triggered, this, &TQMPlayerFrame::CmToolbars);
    view->addAction(toolbars);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->menuAction()->setStatusTip(StatusHint(CmToolsMenu));
    QAction* play = MakeAction(CmPlayId, QStringLiteral("&Play"), QStringLiteral("play"));
    play->setShortcut(QKeySequence(Qt::Key_F5));
    connect(play, &QAction::triggered, PlayerClient, &TQMPlayerClient::CmPlay);
    tools->addAction(play);
    QAction* stop = MakeAction(CmStopId, QStringLiteral("&Stop"), QStringLiteral("stop"));
    stop->setShortcuts({QKeySequence(Qt::Key_F6), QKeySequence(Qt::Key_Escape)});
    connect(stop, &QAction::triggered, PlayerClient, &TQMPlayerClient::CmStop);
    tools->addAction(stop);
    tools->addSeparator();
    QAction* volume = MakeAction(CmVolumeId, QStringLiteral("Windows &Volume Control"), QStringLiteral("volume"));
    connect(volume, &QAction::triggered, PlayerClient, &TQMPlayerClient::CmVolumeControl);
    tools->addAction(volume);
    tools->addSeparator();
    QAction* options = MakeAction(CmOptionsId, QStringLiteral("&Options.."));
    connect(options, &QAction::triggered, this, &TQMPlayerFrame::CmOptions);
    tools->addAction(options);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->menuAction()->setStatusTip(StatusHint(CmHelpMenu));
    QAction* helpAction = MakeAction(CmHelpId, QStringLiteral("&Help..."));
    helpAction->setShortcut(QKeySequence(Qt::Key_F1));
    connect(helpAction, &QAction::triggered, this, &TQMPlayerFrame::CmHelp);
    help->addAction(helpAction);
    help->addSeparator();
    QAction* about = MakeAction(CmAboutId, QStringLiteral("&About..."));
    connect(about, &QAction::triggered, this, &TQMPlayerFrame::CmAbout);
    help->addAction(about);
}

void TQMPlayerFrame::BuildToolbar()
{
    Tools = new QToolBar(QStringLiteral("Tools"), this);
    Tools->setObjectName(QStringLiteral("Tools"));
    Tools->setMovable(true);
    Tools->setFloatable(true);
    Tools->setIconSize(QSize(24, 24));
    Tools->addAction(Action(CmOpenId));
    Tools->addAction(Action(CmInfoId));
    Tools->addSeparator();
    Tools->addAction(Action(CmZoomInId));
    Tools->addAction(Action(CmZoomOutId));
    Tools->addSeparator();
    Tools->addAction(Action(CmPlayId));
    Tools->addAction(Action(CmStopId));
    Tools->addSeparator();
    Tools->addAction(Action(CmVolumeId));
    addToolBar(Qt::TopToolBarArea, Tools);
}

void TQMPlayerFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    QFont small = bar->font();
    small.setPointSize(8);
    bar->setFont(small);
    StatusLabel = new QLabel(bar);
    StatusLabel->setObjectName(QStringLiteral("StatusText"));
    bar->addWidget(StatusLabel, 1);
    TimeField = new QLabel(bar);
    TimeField->setObjectName(QStringLiteral("TimeField"));
    TimeField->setAlignment(Qt::AlignCenter);
    TimeField->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    TimeField->setFont(small);
    const QFontMetrics metrics(small);
    TimeField->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('0')) * TimeFieldChars + 8);
    bar->addPermanentWidget(TimeField);
}

// ---- time display ----

int64_t TQMPlayerFrame::NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TQMPlayerFrame::SetTimeText(const QString& text, bool always)
{
    if (!always && text == ShownText)
        return;
    ShownText = text.left(31);
    TimeField->setText(ShownText);
}

void TQMPlayerFrame::ResetTimeDisplay(uint32_t totalMs)
{
    TotalMs = totalMs + 600;
    TotalText = FormatTime(TotalMs);
    SetTimeText(QStringLiteral("0:00 / %1").arg(TotalText), true);
}

void TQMPlayerFrame::StartClock()
{
    ElapsedStart = NowMs();
    SetTimeText(QStringLiteral("0:00 / %1").arg(TotalText), true);
}

void TQMPlayerFrame::ShowZero() { SetTimeText(QStringLiteral("0:00 / %1").arg(TotalText), true); }

void TQMPlayerFrame::UpdatePlay()
{
    int64_t elapsed = NowMs() - ElapsedStart;
    if (elapsed < 0)
        elapsed = 0;
    if (elapsed > TotalMs)
        elapsed = TotalMs;
    SetTimeText(QStringLiteral("%1 / %2").arg(FormatTime(uint32_t(elapsed)), TotalText), false);
    PlayerClient->UpdatePlayDisplay();
}

QString TQMPlayerFrame::TimeText() const { return TimeField->text(); }

QString TQMPlayerFrame::StatusText() const { return StatusLabel->text(); }

// ---- commands ----

void TQMPlayerFrame::OpenByUser(const QString& path)
{
    App->SetCloseRequest(false);
    PlayerClient->OpenSong(path);
}

void TQMPlayerFrame::CmOpen()
{
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(OpenFilter());
    dialog.setDefaultSuffix(OpenDefaultSuffix());
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    OpenByUser(dialog.selectedFiles().first());
}

void TQMPlayerFrame::CmHistory()
{
    TFileHistory& history = App->History();
    TFileHistoryDialog dialog(this, history.Entries(), [&history] { history.Load(); },
                              [&history] { history.Save(); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int index = dialog.SelectedIndex();
    if (index < 0 || index >= THistoryEntry::Count || history.At(index).IsFree())
        return;
    OpenByUser(QString::fromLocal8Bit(history.At(index).Name));
}

void TQMPlayerFrame::CmOptions()
{
    TOptionsDialog dialog(this, App->Options());
    dialog.exec();
}

void TQMPlayerFrame::CmToolbars()
{
    TToolbarListDialog dialog(this, {Tools});
    dialog.exec();
}

void TQMPlayerFrame::CmHelp() { THelpWindow::ShowContents(this); }

void TQMPlayerFrame::CmAbout()
{
    TAboutDialog dialog(this);
    dialog.exec();
}

void TQMPlayerFrame::CmStatusBar(bool shown)
{
    statusBar()->setVisible(shown);
    App->Settings().WriteShowStatusBar(!statusBar()->isHidden());
}

void TQMPlayerFrame::CmExit() { close(); }

// ---- window events ----

void TQMPlayerFrame::closeEvent(QCloseEvent* event)
{
    PlayerClient->StopIfPlaying();
    THelpWindow::Quit();
    event->accept();
}

void TQMPlayerFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

bool TQMPlayerFrame::OpenDropped(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return false;
    OpenByUser(urls.first().toLocalFile());
    return true;
}

void TQMPlayerFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile()) {
        event->acceptProposedAction();
        OpenDropped(urls);
    }
}
