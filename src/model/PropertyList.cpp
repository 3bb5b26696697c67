#include "model/PropertyList.h"

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "model/FileBytes.h"
#include "model/PlistXml.h"
#include "model/PropertyListGuard.h"

namespace linvara {
namespace {

struct PlistDeleter {
  void operator()(plist_t p) const {
    if (p) plist_free(p);
  }
};
using PlistHandle = std::unique_ptr<void, PlistDeleter>;

// Containers never nest deeper than this after the check before parsing.
constexpr int kMaxDepth = static_cast<int>(kMaxPropertyListNesting);

Value FromPlist(plist_t node, int depth) {
  if (!node || depth > kMaxDepth) return {};
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return Value(b != 0);
    }
    case PLIST_UINT: {
      uint64_t u = 0;
      plist_get_uint_val(node, &u);
      return Value(Integer{static_cast<int64_t>(u), false});
    }
    case PLIST_UID: {
      uint64_t u = 0;
      plist_get_uid_val(node, &u);
      return Value(Integer{static_cast<int64_t>(u), true});
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      return Value(d);
    }
    case PLIST_STRING: {
      // By pointer and length: the copying getter aborts on a NUL inside the string.
      uint64_t length = 0;
      const char* s = plist_get_string_ptr(node, &length);
      return Value(s ? std::string(s, static_cast<std::size_t>(length)) : std::string());
    }
    case PLIST_KEY: {
      char* s = nullptr;
      plist_get_key_val(node, &s);
      std::string out = s ? s : "";
      std::free(s);
      return Value(std::move(out));
    }
    case PLIST_DATE: {
      int32_t sec = 0, usec = 0;
      plist_get_date_val(node, &sec, &usec);
      return Value(Date{static_cast<double>(sec) + static_cast<double>(usec) / 1e6});
    }
    case PLIST_DATA: {
      uint64_t len = 0;
      const char* p = plist_get_data_ptr(node, &len);
      Bytes bytes;
      if (p && len) bytes.assign(reinterpret_cast<const uint8_t*>(p), reinterpret_cast<const uint8_t*>(p) + len);
      return Value(std::move(bytes));
    }
    case PLIST_ARRAY: {
      auto array = Array::make();
      uint32_t n = plist_array_get_size(node);
      array->items().reserve(n);
      for (uint32_t i = 0; i < n; ++i) array->append(FromPlist(plist_array_get_item(node, i), depth + 1));
      return Value(array);
    }
    case PLIST_DICT: {
      // Entries gathered first, so the dictionary gets one list of its size.
      std::vector<Dictionary::Entry> entries;
      entries.reserve(plist_dict_get_size(node));
      plist_dict_iter it = nullptr;
      plist_dict_new_iter(node, &it);
      if (!it) return Value(Dictionary::make());
      for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, it, &key, &item);
        if (!item) {
          std::free(key);
          break;
        }
        std::string name = key ? key : "";
        std::free(key);
        Value value = FromPlist(item, depth + 1);
        auto same = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == name; });
        if (same != entries.end())
          same->second = std::move(value);
        else
          entries.emplace_back(std::move(name), std::move(value));
      }
      std::free(it);
      return Value(Dictionary::FromEntries(std::move(entries)));
    }
    default:
      return {};
  }
}

plist_t ToPlist(const Value& v, int depth) {
  if (depth > kMaxDepth) return nullptr;
  switch (v.type()) {
    case Value::Type::Null:
      return nullptr;
    case Value::Type::Boolean:
      return plist_new_bool(*v.asBool() ? 1 : 0);
    case Value::Type::Integer: {
      const Integer* i = v.asInteger();
      if (i->isUnsigned) return plist_new_uid(static_cast<uint64_t>(i->value));
      return plist_new_uint(static_cast<uint64_t>(i->value));
    }
    case Value::Type::Real:
      return plist_new_real(*v.asNumber());
    case Value::Type::String:
      return plist_new_string(v.asString()->c_str());
    case Value::Type::Date: {
      double s = v.asDate()->secondsSince2001;
      double whole = std::floor(s);
      auto usec = static_cast<int32_t>(std::llround((s - whole) * 1e6));
      auto sec = static_cast<int32_t>(whole);
      if (usec >= 1000000) {
        usec -= 1000000;
        ++sec;
      }
      return plist_new_date(sec, usec);
    }
    case Value::Type::Data: {
      const Bytes* b = v.asData();
      return plist_new_data(reinterpret_cast<const char*>(b->data()), b->size());
    }
    case Value::Type::Array: {
      plist_t out = plist_new_array();
      for (const Value& item : *v.asArray()) {
        if (plist_t child = ToPlist(item, depth + 1)) plist_array_append_item(out, child);
      }
      return out;
    }
    case Value::Type::Dictionary: {
      plist_t out = plist_new_dict();
      for (const auto& [key, item] : *v.asDict()) {
        if (plist_t child = ToPlist(item, depth + 1)) plist_dict_set_item(out, key.c_str(), child);
      }
      return out;
    }
  }
  return nullptr;
}

}  // namespace

Result<Value> ParsePropertyList(std::string_view bytes) {
  if (bytes.empty()) return Fail("empty property list", ErrorKind::Malformed);
  if (bytes.size() > std::numeric_limits<uint32_t>::max()) return Fail("property list too large", ErrorKind::Malformed);
  const auto length = static_cast<uint32_t>(bytes.size());
  if (!plist_is_binary(bytes.data(), length)) return ParsePropertyListXml(bytes);
  if (auto guard = CheckPropertyListForParser(bytes); !guard) return guard.failure();
  plist_t root = nullptr;
  plist_from_bin(bytes.data(), length, &root);
  PlistHandle handle(root);
  if (!root) return Fail("not a property list", ErrorKind::Malformed);
  return FromPlist(root, 0);
}

Result<Value> ReadPropertyListFile(const std::filesystem::path& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return bytes.failure();
  auto parsed = ParsePropertyList(*bytes);
  if (!parsed) return Fail(path.string() + ": " + parsed.error(), parsed.errorKind());
  return parsed;
}

Result<std::string> SerializePropertyListBinary(const Value& root) {
  PlistHandle node(ToPlist(root, 0));
  if (!node) return Fail("nothing to write");
  char* bin = nullptr;
  uint32_t length = 0;
  plist_to_bin(node.get(), &bin, &length);
  if (!bin) return Fail("property list could not be written");
  std::string out(bin, length);
  plist_to_bin_free(bin);
  return out;
}

}  // namespace linvara
