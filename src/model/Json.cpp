#include "model/Json.h"

#include <nlohmann/json.hpp>

#include "model/FileBytes.h"
#include "model/JsonText.h"

namespace linvara {
namespace {

using Json = nlohmann::ordered_json;

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
