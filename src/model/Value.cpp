#include "model/Value.h"

#include <algorithm>

namespace linvara {

Value::Value(ArrayPtr a) {
  if (a) v_ = std::move(a);
}
Value::Value(DictPtr d) {
  if (d) v_ = std::move(d);
}

std::optional<bool> Value::asBool() const {
  if (auto* b = std::get_if<bool>(&v_)) return *b;
  return std::nullopt;
}
std::optional<std::int64_t> Value::asInt() const {
  if (auto* i = std::get_if<Integer>(&v_)) return i->value;
  return std::nullopt;
}
std::optional<double> Value::asNumber() const {
  if (auto* i = std::get_if<Integer>(&v_))
    return i->isUnsigned ? static_cast<double>(static_cast<std::uint64_t>(i->value)) : static_cast<double>(i->value);
  if (auto* d = std::get_if<double>(&v_)) return *d;
  return std::nullopt;
}
const std::string* Value::asString() const { return std::get_if<std::string>(&v_); }
std::optional<Date> Value::asDate() const {
  if (auto* d = std::get_if<Date>(&v_)) return *d;
  return std::nullopt;
}
const Bytes* Value::asData() const { return std::get_if<Bytes>(&v_); }
const Integer* Value::asInteger() const { return std::get_if<Integer>(&v_); }
ArrayPtr Value::asArray() const {
  if (auto* a = std::get_if<ArrayPtr>(&v_)) return *a;
  return nullptr;
}
DictPtr Value::asDict() const {
  if (auto* d = std::get_if<DictPtr>(&v_)) return *d;
  return nullptr;
}

bool Value::operator==(const Value& other) const {
  if (v_.index() != other.v_.index()) return false;
  switch (type()) {
    case Type::Array: {
      const auto& a = *asArray();
      const auto& b = *other.asArray();
      return a.items() == b.items();
    }
    case Type::Dictionary: {
      const auto& a = *asDict();
      const auto& b = *other.asDict();
      return a.entries() == b.entries();
    }
    default:
      return v_ == other.v_;
  }
}

const std::vector<Dictionary::Entry>& Dictionary::entries() const {
  static const std::vector<Entry> kEmpty;
  return entries_ ? *entries_ : kEmpty;
}

std::vector<Dictionary::Entry>& Dictionary::mutableEntries() {
  if (!entries_)
    entries_ = std::make_shared<std::vector<Entry>>();
  else if (entries_.use_count() > 1)
    entries_ = std::make_shared<std::vector<Entry>>(*entries_);
  return *entries_;
}

DictPtr Dictionary::FromEntries(std::vector<Entry> entries) {
  DictPtr dict = make();
  if (!entries.empty()) dict->entries_ = std::make_shared<std::vector<Entry>>(std::move(entries));
  return dict;
}

Value Dictionary::get(std::string_view key) const {
  const Value* found = find(key);
  return found ? *found : Value();
}

const Value* Dictionary::find(std::string_view key) const {
  for (const auto& [k, v] : entries())
    if (k == key) return &v;
  return nullptr;
}

bool Dictionary::contains(std::string_view key) const {
  const auto& all = entries();
  return std::any_of(all.begin(), all.end(), [&](const Entry& e) { return e.first == key; });
}

void Dictionary::set(std::string_view key, Value value) {
  auto& all = mutableEntries();
  for (auto& [k, v] : all) {
    if (k == key) {
      v = std::move(value);
      return;
    }
  }
  all.emplace_back(std::string(key), std::move(value));
}

bool Dictionary::remove(std::string_view key) {
  if (!contains(key)) return false;
  auto& all = mutableEntries();
  all.erase(std::find_if(all.begin(), all.end(), [&](const Entry& e) { return e.first == key; }));
  return true;
}

std::optional<std::string> Dictionary::getString(std::string_view key) const {
  const Value* v = find(key);
  if (const std::string* s = v ? v->asString() : nullptr) return *s;
  return std::nullopt;
}

DictPtr Dictionary::deepCopy() const {
  auto out = make();
  auto& to = out->mutableEntries();
  to.reserve(size());
  for (const auto& [k, v] : entries()) to.emplace_back(k, DeepCopy(v));
  return out;
}

ArrayPtr Array::deepCopy() const {
  auto out = make();
  out->items_.reserve(items_.size());
  for (const auto& v : items_) out->items_.push_back(DeepCopy(v));
  return out;
}

Value DeepCopy(const Value& v) {
  if (auto a = v.asArray()) return a->deepCopy();
  if (auto d = v.asDict()) return d->deepCopy();
  return v;
}

}  // namespace linvara
