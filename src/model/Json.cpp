#include "model/Json.h"

#include <nlohmann/json.hpp>

#include "model/FileBytes.h"
#include "model/JsonText.h"

namespace linvara {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kMaxDepth = 2048;

// Builds the Value tree straight from the parser's events, keeping key order.
// Containers nested deeper than kMaxDepth read as null (their contents are
// skipped), so that no later recursive walk or free can overflow the stack.
class ValueBuilder : public nlohmann::json_sax<Json> {
 public:
  bool null() override { return put(Value()); }
  bool boolean(bool b) override { return put(Value(b)); }
  bool number_integer(number_integer_t i) override { return put(Value(Integer{i, false})); }
  bool number_unsigned(number_unsigned_t u) override {
    return put(Value(Integer{static_cast<std::int64_t>(u), u > static_cast<std::uint64_t>(INT64_MAX)}));
  }
  bool number_float(number_float_t d, const string_t&) override { return put(Value(d)); }
  bool string(string_t& s) override { return put(Value(std::move(s))); }
  bool binary(binary_t& b) override { return put(Value(Bytes(b.begin(), b.end()))); }
  bool start_object(std::size_t) override { return open(Frame::Object); }
  bool key(string_t& k) override {
    if (skipped_ == 0) stack_.back().key = std::move(k);
    return true;
  }
  bool end_object() override { return close(); }
  bool start_array(std::size_t) override { return open(Frame::Array); }
  bool end_array() override { return close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    failed_ = true;
    return false;
  }

  bool failed() const { return failed_; }
  Value take() { return std::move(result_); }

 private:
  struct Frame {
    enum Kind { Object, Array } kind;
    DictPtr dict;
    ArrayPtr array;
    std::string key;
  };

  bool put(Value v) {
    if (skipped_ > 0) return true;
    if (stack_.empty()) {
      result_ = std::move(v);
      return true;
    }
    Frame& top = stack_.back();
    if (top.kind == Frame::Object)
      top.dict->set(top.key, std::move(v));
    else
      top.array->append(std::move(v));
    return true;
  }
  bool open(Frame::Kind kind) {
    if (skipped_ > 0 || stack_.size() >= static_cast<std::size_t>(kMaxDepth)) {
      ++skipped_;
      return true;
    }
    Frame f{kind, nullptr, nullptr, {}};
    if (kind == Frame::Object)
      f.dict = Dictionary::make();
    else
      f.array = Array::make();
    stack_.push_back(std::move(f));
    return true;
  }
  bool close() {
    if (skipped_ > 0) {
      if (--skipped_ == 0) return put(Value());
      return true;
    }
    Frame f = std::move(stack_.back());
    stack_.pop_back();
    return put(f.kind == Frame::Object ? Value(f.dict) : Value(f.array));
  }

  std::vector<Frame> stack_;
  std::size_t skipped_ = 0;
  Value result_;
  bool failed_ = false;
};

Json ToJson(const Value& v) {
  switch (v.type()) {
    case Value::Type::Null:
      return nullptr;
    case Value::Type::Boolean:
      return *v.asBool();
    case Value::Type::Integer: {
      const Integer* i = v.asInteger();
      if (i->isUnsigned) return static_cast<std::uint64_t>(i->value);
      return i->value;
    }
    case Value::Type::Real:
      return *v.asNumber();
    case Value::Type::String:
      return *v.asString();
    case Value::Type::Date:
      return v.asDate()->secondsSince2001;
    case Value::Type::Data: {
      Json a = Json::array();
      for (auto b : *v.asData()) a.push_back(b);
      return a;
    }
    case Value::Type::Array: {
      Json a = Json::array();
      for (const auto& item : *v.asArray()) a.push_back(ToJson(item));
      return a;
    }
    case Value::Type::Dictionary: {
      Json o = Json::object();
      for (const auto& [key, item] : *v.asDict()) o[key] = ToJson(item);
      return o;
    }
  }
  return nullptr;
}

}  // namespace

Result<Value> ParseJson(std::string_view text) {
  ValueBuilder builder;
  bool ok = Json::sax_parse(text.begin(), text.end(), &builder, nlohmann::detail::input_format_t::json,
                            /*strict=*/true);
  if (!ok || builder.failed()) return Fail("not valid JSON", ErrorKind::Malformed);
  return builder.take();
}

Result<Value> ParseJsonReplacingInvalidText(std::string_view text) {
  if (std::optional<std::string> repaired = ReplaceInvalidJsonText(text)) return ParseJson(*repaired);
  return ParseJson(text);
}

Result<Value> ReadJsonFile(const std::filesystem::path& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return bytes.failure();
  return ParseJson(*bytes);
}

std::string SerializeJson(const Value& root, int indent) {
  return ToJson(root).dump(indent, ' ', /*ensure_ascii=*/false, Json::error_handler_t::replace);
}

}  // namespace linvara
