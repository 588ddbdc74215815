#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

// Hands items from one pipeline stage to the next. The producer either waits
// for room (stages that must not lose data) or is refused at once (live
// capture, which counts what it could not queue). Close() wakes everybody:
// producers are refused from then on, consumers drain what is left.
template <typename T>
class CBoundedQueue
{
public:
    explicit CBoundedQueue(std::size_t nCapacity)
        : m_nCapacity(nCapacity)
    {
    }

    // Waits while the queue is full; false when the queue was closed.
    bool Push(T item)
    {
        std::unique_lock lock(m_mutex);
        m_cvNotFull.wait(lock, [this] { return m_bClosed || m_items.size() < m_nCapacity; });
        if (m_bClosed)
            return false;
        m_items.push_back(std::move(item));
        m_cvNotEmpty.notify_one();
        return true;
    }

    // Never waits; false when the queue is full or closed (the item is lost).
    bool TryPush(T item)
    {
        std::lock_guard lock(m_mutex);
        if (m_bClosed || m_items.size() >= m_nCapacity)
            return false;
        m_items.push_back(std::move(item));
        m_cvNotEmpty.notify_one();
        return true;
    }

    // Waits for an item; empty once the queue is closed and drained.
    std::optional<T> Pop()
    {
        std::unique_lock lock(m_mutex);
        m_cvNotEmpty.wait(lock, [this] { return m_bClosed || !m_items.empty(); });
        if (m_items.empty())
            return std::nullopt;
        T item = std::move(m_items.front());
        m_items.pop_front();
        m_cvNotFull.notify_one();
        return item;
    }

    void Close()
    {
        std::lock_guard lock(m_mutex);
        m_bClosed = true;
        m_cvNotEmpty.notify_all();
        m_cvNotFull.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cvNotEmpty;
    std::condition_variable m_cvNotFull;
    std::deque<T> m_items;
    std::size_t m_nCapacity;
    bool m_bClosed = false;
};
