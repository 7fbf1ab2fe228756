#pragma once

#include <optional>
#include <string>
#include <utility>

namespace pigmora {

// Outcome of a core operation that can fail for a reason worth telling the
// user (a loader, a store, a parser). Success carries no text.
class Status
{
public:
    Status() = default;

    static Status ok() { return {}; }
    static Status error(std::string message) { return Status(std::move(message)); }

    bool isOk() const { return !m_failed; }
    explicit operator bool() const { return isOk(); }
    const std::string &message() const { return m_message; }

private:
    explicit Status(std::string message)
        : m_failed(true)
        , m_message(std::move(message))
    { }

    bool m_failed = false;
    std::string m_message;
};

// A value or the reason there is none.
template<typename T>
class Result
{
public:
    Result(T value) // NOLINT(google-explicit-constructor): a value is a success
        : m_value(std::move(value))
    { }
    Result(Status status) // NOLINT(google-explicit-constructor): a failure
        : m_status(std::move(status))
    { }

    bool isOk() const { return m_value.has_value(); }
    explicit operator bool() const { return isOk(); }

    const Status &status() const { return m_status; }
    const std::string &message() const { return m_status.message(); }

    T &value() & { return *m_value; }
    const T &value() const & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    T &operator*() & { return *m_value; }
    const T &operator*() const & { return *m_value; }
    T *operator->() { return &*m_value; }
    const T *operator->() const { return &*m_value; }

private:
    std::optional<T> m_value;
    Status m_status;
};

} // namespace pigmora
