// A field that receives events: the host object and the connections of its handlers, held and
// released together. Assigning a new object drops the old connections first, so setting the
// field again never hooks an event twice.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "core/Signal.h"

namespace plexa {

template <typename T>
class WithEvents {
public:
    // Holds the object and hooks it: hook receives the object and returns its connections.
    template <typename Hook>
    void Set(std::shared_ptr<T> object, Hook&& hook) {
        Reset();
        if (object) {
            m_connections = std::forward<Hook>(hook)(*object);
        }
        m_object = std::move(object);
    }
    // Unhooks, then releases the object.
    void Reset() {
        m_connections.clear();
        m_object.reset();
    }

    const std::shared_ptr<T>& Get() const { return m_object; }
    T* operator->() const { return m_object.get(); }
    explicit operator bool() const { return static_cast<bool>(m_object); }

private:
    std::shared_ptr<T> m_object;
    std::vector<Connection> m_connections;
};

}  // namespace plexa
