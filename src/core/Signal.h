// Events as the ports expose them. Connect returns a Connection that disconnects when it is
// released or reset; a handler may disconnect itself or others while the signal is firing, and a
// Connection may outlive its Signal.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace plexa {

class Connection {
public:
    Connection() = default;
    explicit Connection(std::function<void()> disconnect) : m_disconnect(std::move(disconnect)) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&& other) noexcept : m_disconnect(std::exchange(other.m_disconnect, {})) {}
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            Disconnect();
            m_disconnect = std::exchange(other.m_disconnect, {});
        }
        return *this;
    }
    ~Connection() { Disconnect(); }

    void Disconnect() {
        if (m_disconnect) {
            auto fn = std::exchange(m_disconnect, {});
            fn();
        }
    }
    bool Connected() const { return static_cast<bool>(m_disconnect); }

private:
    std::function<void()> m_disconnect;
};

template <typename... Args>
class Signal {
public:
    using Handler = std::function<void(Args...)>;

    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    [[nodiscard]] Connection Connect(Handler handler) {
        if (!m_state) {
            m_state = std::make_shared<State>();
        }
        const uint64_t id = ++m_state->nextId;
        m_state->slots.push_back(std::make_shared<Slot>(Slot{id, std::move(handler), true}));
        std::weak_ptr<State> weak = m_state;
        return Connection([weak, id] {
            if (auto state = weak.lock()) {
                state->Remove(id);
            }
        });
    }

    // Calls every handler connected when the emission starts and still connected when its turn
    // comes.
    void Emit(Args... args) const {
        if (!m_state) {
            return;
        }
        auto state = m_state;
        const auto snapshot = state->slots;
        for (const auto& slot : snapshot) {
            if (slot->alive) {
                slot->handler(args...);
            }
        }
    }

    std::size_t HandlerCount() const { return m_state ? m_state->slots.size() : 0; }

private:
    struct Slot {
        uint64_t id;
        Handler handler;
        bool alive;
    };
    struct State {
        uint64_t nextId = 0;
        std::vector<std::shared_ptr<Slot>> slots;
        void Remove(uint64_t id) {
            for (auto it = slots.begin(); it != slots.end(); ++it) {
                if ((*it)->id == id) {
                    (*it)->alive = false;
                    slots.erase(it);
                    return;
                }
            }
        }
    };
    // Made by the first Connect: most signals (one per item of a large store) never get one.
    std::shared_ptr<State> m_state;
};

}  // namespace plexa
