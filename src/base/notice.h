#pragma once

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace kav {

// A notice any number of listeners hear, each for as long as it keeps the connection it was
// given. Listeners are told in the order they connected. A listener disconnected while the
// others are told is not told any more; one connected meanwhile hears from the next notice.
template <typename... Args> class Notice {
    using Listeners = std::map<int, std::function<void(Args...)>>;

public:
    Notice() = default;
    // A copy would share the listeners: each notice has its own.
    Notice(const Notice&) = delete;
    Notice& operator=(const Notice&) = delete;

    // Ends its listener's hearing when it goes, or when it is reset; it may outlive the notice.
    class Connection {
    public:
        Connection() = default;
        Connection(Connection&& other) noexcept
            : m_listeners(std::move(other.m_listeners))
            , m_id(other.m_id)
        {
        }
        Connection& operator=(Connection&& other) noexcept
        {
            if (this != &other) {
                reset();
                m_listeners = std::move(other.m_listeners);
                m_id = other.m_id;
            }
            return *this;
        }
        Connection(const Connection&) = delete;
        Connection& operator=(const Connection&) = delete;
        ~Connection() { reset(); }

        void reset()
        {
            if (const std::shared_ptr<Listeners> listeners = m_listeners.lock())
                listeners->erase(m_id);
            m_listeners.reset();
        }
        bool connected() const { return !m_listeners.expired(); }

    private:
        friend class Notice;
        Connection(const std::shared_ptr<Listeners>& listeners, int id)
            : m_listeners(listeners)
            , m_id(id)
        {
        }
        std::weak_ptr<Listeners> m_listeners;
        int m_id = 0;
    };

    [[nodiscard]] Connection connect(std::function<void(Args...)> listener)
    {
        const int id = m_nextId++;
        m_listeners->emplace(id, std::move(listener));
        return Connection(m_listeners, id);
    }

    void operator()(Args... args) const
    {
        const std::shared_ptr<Listeners> listeners = m_listeners; // alive while they are told
        std::vector<int> ids;
        ids.reserve(listeners->size());
        for (const auto& entry : *listeners)
            ids.push_back(entry.first);
        for (const int id : ids) {
            const auto found = listeners->find(id);
            if (found == listeners->end())
                continue;
            const std::function<void(Args...)> listener = found->second; // it may disconnect itself
            listener(args...);
        }
    }

private:
    std::shared_ptr<Listeners> m_listeners = std::make_shared<Listeners>();
    int m_nextId = 0;
};

} // namespace kav
