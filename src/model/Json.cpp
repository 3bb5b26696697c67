#include "model/Json.h"

#include <nlohmann/json.hpp>

#include "model/FileBytes.h"

namespace linvara {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kMaxDepth = 512;

Value FromJson(const Json& j, int depth) {
  if (depth > kMaxDepth) return {};
  switch (j.type()) {
    case Json::value_t::null:
    case Json::value_t::discarded:
      return {};
    case Json::value_t::boolean:
      return Value(j.get<bool>());
    case Json::value_t::number_integer:
      return Value(Integer{j.get<std::int64_t>(), false});
    case Json::value_t::number_unsigned: {
      auto u = j.get<std::uint64_t>();
      return Value(Integer{static_cast<std::int64_t>(u), u > static_cast<std::uint64_t>(INT64_MAX)});
    }
    case Json::value_t::number_float:
      return Value(j.get<double>());
    case Json::value_t::string:
      return Value(j.get_ref<const std::string&>());
    case Json::value_t::binary:
      return Value(Bytes(j.get_binary().begin(), j.get_binary().end()));
    case Json::value_t::array: {
      auto a = Array::make();
      a->items().reserve(j.size());
      for (const auto& item : j) a->append(FromJson(item, depth + 1));
      return Value(a);
    }
    case Json::value_t::object: {
      auto d = Dictionary::make();
      for (const auto& [key, item] : j.items()) d->set(key, FromJson(item, depth + 1));
      return Value(d);
    }
  }
  return {};
}

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
  Json parsed = Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
  if (parsed.is_discarded()) return Fail("not valid JSON");
  return FromJson(parsed, 0);
}

Result<Value> ReadJsonFile(const std::filesystem::path& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return Fail(bytes.error());
  return ParseJson(*bytes);
}

std::string SerializeJson(const Value& root, int indent) {
  return ToJson(root).dump(indent, ' ', /*ensure_ascii=*/false, Json::error_handler_t::replace);
}

}  // namespace linvara
