// Progress of a long task: a text line, a step count against a total, and a
// cancel request that the task tests between its steps. The core only calls
// it; a window or a terminal shows it.
#pragma once

#include <string>

class TLongTaskProgress {
public:
    TLongTaskProgress() = default;
    TLongTaskProgress(const TLongTaskProgress&) = delete;
    TLongTaskProgress& operator=(const TLongTaskProgress&) = delete;
    virtual ~TLongTaskProgress() = default;

    void SetText(const char* text)
    {
        Text = text ? text : "";
        Changed();
    }
    // A new total starts the count again.
    void SetTotal(int total)
    {
        Total = total < 0 ? 0 : total;
        Done = 0;
        Changed();
    }
    void Step(int count = 1)
    {
        Done += count;
        if (Total > 0 && Done > Total)
            Done = Total;
        Changed();
    }
    // Tested by the task between its steps; gives the shown side a chance to
    // take the user's answer first.
    bool IsCancelRequested()
    {
        if (!Cancel)
            Poll();
        return Cancel;
    }
    // Called by the shown side (after the user confirmed) or by a test.
    void RequestCancel() { Cancel = true; }

    const std::string& GetText() const { return Text; }
    int GetStep() const { return Done; }
    int GetTotal() const { return Total; }

protected:
    // The text or the count changed.
    virtual void Changed() {}
    // The task asks whether to go on; may call RequestCancel.
    virtual void Poll() {}

private:
    std::string Text;
    int Total = 0;
    int Done = 0;
    bool Cancel = false;
};

// Cancelling through a progress that may be absent.
inline bool IsCancelRequested(TLongTaskProgress* progress)
{
    return progress && progress->IsCancelRequested();
}
