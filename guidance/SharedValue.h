// A value that one thread writes and others read without the frame lock: atomic as any
// std::atomic, and copied by its value, so that a record holding it can be replaced whole.
#pragma once

#include <atomic>

template <class T>
struct SharedValue : std::atomic<T> {
    constexpr SharedValue() noexcept : std::atomic<T>(T{}) {}
    constexpr SharedValue(T value) noexcept : std::atomic<T>(value) {}  // NOLINT: as std::atomic
    SharedValue(const SharedValue& other) noexcept : std::atomic<T>(other.load()) {}
    SharedValue& operator=(const SharedValue& other) noexcept {
        this->store(other.load());
        return *this;
    }
    using std::atomic<T>::operator=;
};
