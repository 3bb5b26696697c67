#include "model/PropertyList.h"

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "model/BinaryPropertyList.h"
#include "model/FileBytes.h"
#include "model/PlistXml.h"

namespace linvara {
namespace {

struct PlistDeleter {
  void operator()(plist_t p) const {
    if (p) plist_free(p);
  }
};
using PlistHandle = std::unique_ptr<void, PlistDeleter>;

plist_t ToPlist(const Value& v, int depth) {
  if (depth > static_cast<int>(kMaxPropertyListNesting)) return nullptr;
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
  if (IsBinaryPropertyList(bytes)) return ParseBinaryPropertyList(bytes, kMaxPropertyListNesting);
  return ParsePropertyListXml(bytes);
}

Result<Value> ReadPropertyListFile(const std::filesystem::path& path) {
  auto bytes = ReadFileBuffer(path);
  if (!bytes) return bytes.failure();
  auto parsed = ParsePropertyList(bytes->view());
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
