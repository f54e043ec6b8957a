#include "app/dialogs/FileHistoryDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstring>
#include <string_view>

#include "platform/qt/AnsiText.h"

namespace {

template <size_t N>
std::string_view FieldBytes(const char (&field)[N])
{
    return std::string_view(field, strnlen(field, N));
}

// Position after the last directory separator of either kind.
qsizetype FileNameStart(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype backslash = path.lastIndexOf(QLatin1Char('\\'));
    return (slash > backslash ? slash : backslash) + 1;
}

QString FileNameOf(const THistoryEntry& entry)
{
    const QString path = QString::fromLocal8Bit(FieldBytes(entry.Name));
    return path.mid(FileNameStart(path));
}

} // namespace

TFileHistoryDialog::TFileHistoryDialog(QWidget* parent, THistoryEntry* entries, std::function<void()> loadHistory,
                                       std::function<void()> saveHistory)
    : TPlayerDialog(parent, QStringLiteral("File History"), QStringLiteral("history")),
      Entries(entries),
      SaveHistory(std::move(saveHistory))
{
    if (loadHistory)
        loadHistory();

    HistoryList = new QTreeWidget(this);
    HistoryList->setColumnCount(4);
    HistoryList->setHeaderLabels({QStringLiteral("#"), QStringLiteral("Filename"), QStringLiteral("Song Title"),
                                  QStringLiteral("Location")});
    HistoryList->setRootIsDecorated(false);
    HistoryList->setSortingEnabled(false);
    HistoryList->setSelectionMode(QAbstractItemView::SingleSelection);
    HistoryList->setSelectionBehavior(QAbstractItemView::SelectRows);
    HistoryList->setAllColumnsShowFocus(true);
    HistoryList->header()->setStretchLastSection(false);
    for (int column = 0; column < 4; ++column)
        HistoryList->setColumnWidth(column, 100);
    HistoryList->setMinimumSize(Du(257), Du(170));
    connect(HistoryList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { RowActivated(item); });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Clear = new QPushButton(QStringLiteral("C&lear"), this);
    ok->setDefault(true);
    // The list keeps Enter for OK; Clear must not take it.
    Clear->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TFileHistoryDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &TFileHistoryDialog::reject);
    connect(Clear, &QPushButton::clicked, this, &TFileHistoryDialog::ClearHistory);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    buttons->addWidget(Clear);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(HistoryList, 1);
    layout->addLayout(buttons);
    resize(Du(268), Du(207));

    FillList();
}

QStringList TFileHistoryDialog::RowCells(int index, const THistoryEntry& entry)
{
    const QString path = QString::fromLocal8Bit(FieldBytes(entry.Name));
    const qsizetype nameStart = FileNameStart(path);
    QString name = path.mid(nameStart);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    return {QString::number(index), name, AnsiToQString(FieldBytes(entry.Title)), path.left(nameStart)};
}

void TFileHistoryDialog::FillList()
{
    HistoryList->clear();
    if (!Entries)
        return;
    for (int i = 0; i < THistoryEntry::Count; ++i) {
        if (FileNameOf(Entries[i]).isEmpty())
            break;
        auto* item = new QTreeWidgetItem(HistoryList, RowCells(i, Entries[i]));
        item->setData(0, Qt::UserRole, i);
    }
}

void TFileHistoryDialog::accept()
{
    QTreeWidgetItem* item = HistoryList->currentItem();
    if (!item || !item->isSelected()) {
        HistoryList->setFocus();
        return;
    }
    Selected = item->data(0, Qt::UserRole).toInt();
    TPlayerDialog::accept();
}

void TFileHistoryDialog::RowActivated(QTreeWidgetItem* item)
{
    if (!item)
        return;
    HistoryList->setCurrentItem(item);
    accept();
}

void TFileHistoryDialog::ClearHistory()
{
    HistoryList->clear();
    if (Entries) {
        for (int i = 0; i < THistoryEntry::Count; ++i)
            Entries[i].Clear();
    }
    if (SaveHistory)
        SaveHistory();
}
