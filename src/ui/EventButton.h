// A command-bar button that receives its Click: the button and the connection of its handler,
// held and released together. Setting it again drops the old connection first, so a rebuilt
// menu never runs a command twice.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "core/Signal.h"
#include "host/office/CommandBars.h"

namespace plexa {

class EventButton {
public:
    void Set(std::shared_ptr<CommandBarControl> button, std::function<void()> onClick) {
        Reset();
        if (button) {
            m_click = button->Click.Connect(
                [onClick = std::move(onClick)](const std::shared_ptr<CommandBarControl>&, bool&) {
                    onClick();
                });
        }
        m_button = std::move(button);
    }
    void Reset() {
        m_click.Disconnect();
        m_button.reset();
    }
    const std::shared_ptr<CommandBarControl>& Get() const { return m_button; }
    CommandBarControl* operator->() const { return m_button.get(); }
    explicit operator bool() const { return static_cast<bool>(m_button); }

private:
    std::shared_ptr<CommandBarControl> m_button;
    Connection m_click;
};

}  // namespace plexa
