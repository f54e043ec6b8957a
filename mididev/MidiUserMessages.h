// How the MIDI manager reaches the user: a message with text, caption and
// icon, and a busy state around slow work. The application installs one;
// without it messages go nowhere.
#pragma once

#include <string>

enum class TMidiMessageIcon { Information, Stop };

class TMidiUserMessages {
public:
    virtual ~TMidiUserMessages() = default;
    virtual void ShowMessage(const std::string& text, const std::string& caption, TMidiMessageIcon icon) = 0;
    // Wait cursor on (true) and off (false).
    virtual void SetBusy(bool busy) {}
};
