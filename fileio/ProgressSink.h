// Receiver of short progress texts during long tasks (the core shows nothing itself).
#pragma once

class TProgressSink {
public:
    virtual ~TProgressSink() = default;
    // Shows the text at once; none clears it.
    virtual void ShowText(const char* textOrNull) = 0;
};
