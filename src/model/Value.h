#pragma once
// Ordered value trees for raw browser records (property lists and JSON).
// Dictionaries and arrays are shared by reference: copying a Value that holds
// one copies the reference, so a node and the reader that filled it see the
// same dictionary. Use Dictionary::copy() / Array::copy() for a shallow copy.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace linvara {

class Value;
class Dictionary;
class Array;
using DictPtr = std::shared_ptr<Dictionary>;
using ArrayPtr = std::shared_ptr<Array>;

// A point in time as property lists store it: seconds since 2001-01-01 UTC.
struct Date {
  double secondsSince2001 = 0;
  bool operator==(const Date&) const = default;
};

using Bytes = std::vector<std::uint8_t>;

// An integer keeps its signedness so that large unsigned values survive a round trip.
struct Integer {
  std::int64_t value = 0;
  bool isUnsigned = false;
  bool operator==(const Integer&) const = default;
};

class Value {
 public:
  enum class Type { Null, Boolean, Integer, Real, String, Date, Data, Array, Dictionary };

  Value() = default;
  Value(std::nullptr_t) {}
  Value(bool b) : v_(b) {}
  Value(int i) : v_(Integer{i, false}) {}
  Value(std::int64_t i) : v_(Integer{i, false}) {}
  Value(Integer i) : v_(i) {}
  Value(double d) : v_(d) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(const char* s) : v_(std::string(s)) {}
  Value(std::string_view s) : v_(std::string(s)) {}
  Value(Date d) : v_(d) {}
  Value(Bytes b) : v_(std::move(b)) {}
  Value(ArrayPtr a);
  Value(DictPtr d);

  Type type() const { return static_cast<Type>(v_.index()); }
  bool isNull() const { return type() == Type::Null; }
  bool isBool() const { return type() == Type::Boolean; }
  bool isInteger() const { return type() == Type::Integer; }
  bool isReal() const { return type() == Type::Real; }
  bool isNumber() const { return isInteger() || isReal(); }
  bool isString() const { return type() == Type::String; }
  bool isDate() const { return type() == Type::Date; }
  bool isData() const { return type() == Type::Data; }
  bool isArray() const { return type() == Type::Array; }
  bool isDict() const { return type() == Type::Dictionary; }

  // Typed access; nullopt / null when the value has another type.
  std::optional<bool> asBool() const;
  std::optional<std::int64_t> asInt() const;   // integers only
  std::optional<double> asNumber() const;      // integers and reals
  const std::string* asString() const;         // null unless a string
  std::optional<Date> asDate() const;
  const Bytes* asData() const;
  const Integer* asInteger() const;
  ArrayPtr asArray() const;
  DictPtr asDict() const;

  // Deep structural equality: same types, same keys in the same order.
  bool operator==(const Value& other) const;

 private:
  std::variant<std::monostate, bool, Integer, double, std::string, Date, Bytes, ArrayPtr, DictPtr> v_;
};

class Dictionary {
 public:
  using Entry = std::pair<std::string, Value>;

  static DictPtr make() { return std::make_shared<Dictionary>(); }
  // A dictionary holding these entries, as given (keys assumed distinct).
  static DictPtr FromEntries(std::vector<Entry> entries);

  // Null value when the key is absent.
  Value get(std::string_view key) const;
  // The stored value, without a copy; null when the key is absent. Valid until the dictionary changes.
  const Value* find(std::string_view key) const;
  bool contains(std::string_view key) const;
  // Replaces the value in place (keeping the key's position) or appends the key.
  void set(std::string_view key, Value value);
  bool remove(std::string_view key);
  void clear() { entries_.reset(); }

  std::size_t size() const { return entries().size(); }
  bool empty() const { return entries().empty(); }
  const std::vector<Entry>& entries() const;
  auto begin() const { return entries().begin(); }
  auto end() const { return entries().end(); }

  // Shallow copy: a new dictionary holding the same values (nested containers
  // shared). The entries themselves are shared until either side changes, so a
  // record and its untouched copy cost one set of entries.
  DictPtr copy() const { return std::make_shared<Dictionary>(*this); }
  // Deep copy: nested dictionaries and arrays copied too.
  DictPtr deepCopy() const;

  // Convenience typed getters.
  std::optional<std::string> getString(std::string_view key) const;
  DictPtr getDict(std::string_view key) const { return get(key).asDict(); }
  ArrayPtr getArray(std::string_view key) const { return get(key).asArray(); }

 private:
  // The entries to change: a private vector, cloned first when shared with a copy.
  std::vector<Entry>& mutableEntries();
  std::shared_ptr<std::vector<Entry>> entries_;  // null when empty
};

class Array {
 public:
  static ArrayPtr make() { return std::make_shared<Array>(); }

  const Value& at(std::size_t i) const { return items_.at(i); }
  void append(Value v) { items_.push_back(std::move(v)); }
  void insert(std::size_t pos, Value v) { items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(v)); }
  void removeAt(std::size_t pos) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(pos)); }
  void clear() { items_.clear(); }
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  std::vector<Value>& items() { return items_; }
  const std::vector<Value>& items() const { return items_; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  ArrayPtr copy() const { return std::make_shared<Array>(*this); }
  ArrayPtr deepCopy() const;

 private:
  std::vector<Value> items_;
};

// Deep copy of any value (containers duplicated, scalars copied).
Value DeepCopy(const Value& v);

}  // namespace linvara
