#pragma once
#include <concepts>
#include <optional>
#include <utility>
#include <variant>

namespace Util {

// A value or an error, returned instead of throwing where failures are part of
// normal work (files, audio). Constructing a success never allocates.
template <typename T, typename E>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    template <typename U>
        requires(std::constructible_from<E, U> && !std::constructible_from<T, U>)
    Result(U&& error) : state_(std::in_place_index<1>, E(std::forward<U>(error)))
    {
    }

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(state_); }
    T& value() { return std::get<0>(state_); }
    const E& error() const { return std::get<1>(state_); }

private:
    std::variant<T, E> state_;
};

// Success carries nothing.
template <typename E>
class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    template <typename U>
        requires std::constructible_from<E, U>
    Result(U&& error) : error_(E(std::forward<U>(error)))
    {
    }

    bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }
    const E& error() const { return *error_; }

private:
    std::optional<E> error_;
};

} // namespace Util
