// What the separate-send action needs from the message window a send came from: the window
// itself (its editor type, closing it without saving) and releasing whatever follows the window
// once the action has closed it. The add-in's inspector wrapper implements it.
#pragma once

#include <memory>

namespace plexa {

class Inspector;

class IMessageWindow {
public:
    virtual ~IMessageWindow() = default;

    // The window; nothing once it has closed.
    virtual std::shared_ptr<Inspector> GetInspector() const = 0;
    // Releases the window, its item and their events.
    virtual void Done() = 0;
};

}  // namespace plexa
