// What long work reports its progress to, and asks whether the user cancelled. Recipient
// gathering, resolving and adding run in stages (1 gathering items, 2 resolving recipients,
// 3 adding them) over one progress: each stage starts with Init and takes one Step per item.
// The add-in's window (ui/CProgressWindow) implements it; tests may record the calls instead.
#pragma once

#include <cstdint>

namespace plexa {

class IProgress {
public:
    virtual ~IProgress() = default;

    // Shows the progress when it is not showing and starts a stage of maximum steps. Throws
    // HostError when it cannot be shown; the work it reports on goes on without it.
    virtual void Init(int32_t stage, int32_t maximum) = 0;
    // One step done; true once the user asked to cancel (the work then stops after this item).
    virtual bool Step() = 0;
    // Closes the progress; nothing when it is not showing.
    virtual void Done() = 0;
};

// For work run without a progress: shows nothing and never cancels.
class NoProgress : public IProgress {
public:
    void Init(int32_t /*stage*/, int32_t /*maximum*/) override {}
    bool Step() override { return false; }
    void Done() override {}
};

}  // namespace plexa
