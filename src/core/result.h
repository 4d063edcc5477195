#pragma once
// A value or the failure that prevented it.

#include <QString>
#include <utility>
#include <variant>

namespace quillo {

struct Failure {
    int code = 0;         // classic BASIC runtime number, see failure.h
    QString description;  // Japanese text shown to the user
    QString path;         // the file it concerns, where that is not the operation's own
};

// failure, as one concerning the file at path.
inline Failure concerning(Failure failure, const QString& path) {
    failure.path = path;
    return failure;
}

template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : m_v(std::move(value)) {}
    Result(Failure f) : m_v(std::move(f)) {}
    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(m_v); }
    const T& value() const { return std::get<0>(m_v); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Failure& failure() const { return std::get<1>(m_v); }

  private:
    std::variant<T, Failure> m_v;
};

// Outcome of an operation that yields nothing but success or a failure.
class [[nodiscard]] Status {
  public:
    Status() = default;
    Status(Failure f) : m_failure(std::move(f)) {}
    bool ok() const { return m_failure.code == 0; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return m_failure; }

  private:
    Failure m_failure;
};

}  // namespace quillo
