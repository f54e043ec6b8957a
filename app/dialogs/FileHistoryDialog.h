// The file history dialog: one row per used history entry; OK returns the
// selected row's index, Clear empties and saves the history at once.
#pragma once

#include <functional>

#include "app/HistoryEntry.h"
#include "app/dialogs/PlayerDialog.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFileHistoryDialog : public TPlayerDialog {
    Q_OBJECT
public:
    // entries points at THistoryEntry::Count entries; loadHistory refills
    // them from the settings when the dialog opens, saveHistory writes them.
    TFileHistoryDialog(QWidget* parent, THistoryEntry* entries, std::function<void()> loadHistory,
                       std::function<void()> saveHistory);

    // The chosen entry after exec() returned Accepted; -1 for none.
    int SelectedIndex() const { return Selected; }

    // The cells of a row: index, file name without directory and extension,
    // title, directory with its trailing separator.
    static QStringList RowCells(int index, const THistoryEntry& entry);

    QTreeWidget* List() const { return HistoryList; }
    QPushButton* ClearButton() const { return Clear; }

public slots:
    void accept() override;
    void ClearHistory();

private:
    void FillList();
    void RowActivated(QTreeWidgetItem* item);

    THistoryEntry* Entries;
    std::function<void()> SaveHistory;
    QTreeWidget* HistoryList = nullptr;
    QPushButton* Clear = nullptr;
    int Selected = -1;
};
