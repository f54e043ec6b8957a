#include "app/FileHistory.h"

#include <cstring>

#include "app/PlaySettings.h"

void TFileHistory::Load()
{
    if (Settings)
        Settings->ReadHistory(Items);
}

void TFileHistory::Save() const
{
    if (Settings)
        Settings->WriteHistory(Items);
}

void TFileHistory::Clear()
{
    for (THistoryEntry& e : Items)
        e.Clear();
}

void TFileHistory::Add(const QString& path, const char* title)
{
    Load();
    const std::string name = path.toLocal8Bit().toStdString();
    int n = THistoryEntry::Count - 1;
    for (int i = 0; i < THistoryEntry::Count - 1; ++i) {
        if (Items[i].IsFree() || name == Items[i].Name) {
            n = i;
            break;
        }
    }
    for (int i = n; i > 0; --i)
        Items[i] = Items[i - 1];
    THistoryEntry::CopyText(Items[0].Name, name);
    THistoryEntry::CopyText(Items[0].Title, title ? title : "");
    Save();
}
