// The please-wait window as work that may take a while sees it: actions nest, Update is called
// often (the window appears once an action lasts), and a dialog that must be on top hides the
// window while it is open. The add-in's window (ui/CPleaseWait) implements it; tests may record
// the calls instead.
#pragma once

namespace plexa {

class IPleaseWait {
public:
    virtual ~IPleaseWait() = default;

    virtual void ActionBegin() = 0;
    virtual void ActionEnd() = 0;
    virtual void Update() = 0;
    // Whether the window is on the screen.
    virtual bool Visible() const = 0;
    // Hides or shows the window while it is shown.
    virtual void SetVisible(bool visible) = 0;
    // Takes a shown window off the screen; the next Update shows it again at once.
    virtual void SetFormRecreation() = 0;
};

// For work run without the window.
class NoPleaseWait : public IPleaseWait {
public:
    void ActionBegin() override {}
    void ActionEnd() override {}
    void Update() override {}
    bool Visible() const override { return false; }
    void SetVisible(bool /*visible*/) override {}
    void SetFormRecreation() override {}
};

// Begins an action and ends it on every way out of the scope; does nothing when not asked to.
class PleaseWaitAction {
public:
    PleaseWaitAction(IPleaseWait& window, bool begin) : m_window(begin ? &window : nullptr) {
        if (m_window != nullptr) {
            m_window->ActionBegin();
        }
    }
    ~PleaseWaitAction() {
        if (m_window != nullptr) {
            m_window->ActionEnd();
        }
    }
    PleaseWaitAction(const PleaseWaitAction&) = delete;
    PleaseWaitAction& operator=(const PleaseWaitAction&) = delete;

private:
    IPleaseWait* m_window;
};

}  // namespace plexa
