// Busy guards: the wait cursor for the lifetime of a guard, and the wait
// cursor together with a status text ("Working..." by default).
#pragma once

#include <QString>

class TQMStatusTextStack;

class TQMBusyCursor {
public:
    explicit TQMBusyCursor(bool on = true);
    ~TQMBusyCursor();
    TQMBusyCursor(const TQMBusyCursor&) = delete;
    TQMBusyCursor& operator=(const TQMBusyCursor&) = delete;

    // Switching on twice has no further effect; off restores the cursor.
    void SetBusy(bool on);
    bool IsBusy() const { return Busy; }

private:
    bool Busy = false;
};

class TQMPlayerBusy {
public:
    static constexpr const char* DefaultText = "Working...";

    // Without a stack only the cursor changes.
    explicit TQMPlayerBusy(TQMStatusTextStack* status, const QString& text = QString::fromLatin1(DefaultText));
    ~TQMPlayerBusy();
    TQMPlayerBusy(const TQMPlayerBusy&) = delete;
    TQMPlayerBusy& operator=(const TQMPlayerBusy&) = delete;

private:
    TQMBusyCursor Cursor;
    TQMStatusTextStack* Status;
};
