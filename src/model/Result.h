#pragma once
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace linvara {

// What went wrong, so that a caller can choose its alert by the kind of failure.
enum class ErrorKind {
  Other,        // anything not listed below
  NotFound,     // no file (or no entry) where one was expected
  Unreadable,   // present but not readable: permissions, not a regular file, too large, I/O error
  Malformed,    // read, but not in the expected format
  WriteFailed,  // a file could not be written or replaced
  Network,      // a request failed
};

// Error text and kind carried across units instead of exceptions.
struct Error {
  std::string message;
  ErrorKind kind = ErrorKind::Other;
};

// Value-or-error. Result<void> carries only success or an Error.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Error error) : state_(std::move(error)) {}

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<T>(state_); }
  const T& value() const { return std::get<T>(state_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const std::string& error() const { return std::get<Error>(state_).message; }
  ErrorKind errorKind() const { return std::get<Error>(state_).kind; }
  const Error& failure() const { return std::get<Error>(state_); }
  T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

 private:
  std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)) {}
  static Result success() { return {}; }

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return error_->message; }
  ErrorKind errorKind() const { return error_->kind; }
  const Error& failure() const { return *error_; }

 private:
  std::optional<Error> error_;
};

inline Error Fail(std::string message, ErrorKind kind = ErrorKind::Other) {
  return Error{std::move(message), kind};
}

}  // namespace linvara
