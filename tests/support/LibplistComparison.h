#pragma once
// Compares a tree read by our property-list readers with what libplist reads
// from the same bytes. Header-only, so the fuzz targets can use it too.
#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/Value.h"

namespace linvara::testing {

namespace libplist_detail {

inline std::string Describe(const Value& v) { return " (ours has type " + std::to_string(static_cast<int>(v.type())) + ")"; }

// Libplist's dictionary entries as the reader keeps them: a repeated key in its first place, with its last value.
inline std::vector<std::pair<std::string, plist_t>> DictEntries(plist_t dict) {
  std::vector<std::pair<std::string, plist_t>> entries;
  plist_dict_iter it = nullptr;
  plist_dict_new_iter(dict, &it);
  char* key = nullptr;
  plist_t item = nullptr;
  for (plist_dict_next_item(dict, it, &key, &item); item; plist_dict_next_item(dict, it, &key, &item)) {
    std::string name = key ? key : "";
    std::free(std::exchange(key, nullptr));
    auto same = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == name; });
    if (same == entries.end()) entries.emplace_back(std::move(name), item);
    else same->second = item;
  }
  std::free(key);
  std::free(it);
  return entries;
}

inline std::string Compare(plist_t node, const Value& v, const std::string& path) {
  const std::string differs = path + ": differs" + Describe(v);
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      std::uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return v.asBool() == std::optional<bool>(b != 0) ? "" : differs;
    }
    case PLIST_UINT:
    case PLIST_UID: {
      std::uint64_t u = 0;
      const bool uid = plist_get_node_type(node) == PLIST_UID;
      uid ? plist_get_uid_val(node, &u) : plist_get_uint_val(node, &u);
      const Integer* i = v.asInteger();
      return i && *i == Integer{static_cast<std::int64_t>(u), uid} ? "" : differs;
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      auto ours = v.isReal() ? v.asNumber() : std::nullopt;
      return ours && std::memcmp(&*ours, &d, sizeof d) == 0 ? "" : differs;
    }
    case PLIST_STRING: {
      std::uint64_t length = 0;
      const char* s = plist_get_string_ptr(node, &length);
      const std::string* ours = v.asString();
      return ours && *ours == std::string_view(s ? s : "", s ? length : 0) ? "" : differs;
    }
    case PLIST_DATE: {
      std::int32_t sec = 0, usec = 0;
      plist_get_date_val(node, &sec, &usec);
      return v.asDate() == Date{static_cast<double>(sec) + static_cast<double>(usec) / 1e6} ? "" : differs;
    }
    case PLIST_DATA: {
      std::uint64_t length = 0;
      const char* p = plist_get_data_ptr(node, &length);
      const Bytes* ours = v.asData();
      return ours && ours->size() == length && (length == 0 || std::memcmp(ours->data(), p, length) == 0) ? "" : differs;
    }
    case PLIST_ARRAY: {
      ArrayPtr ours = v.asArray();
      const std::uint32_t n = plist_array_get_size(node);
      if (!ours || ours->size() != n) return differs;
      for (std::uint32_t i = 0; i < n; ++i)
        if (auto d = Compare(plist_array_get_item(node, i), ours->at(i), path + "/" + std::to_string(i)); !d.empty())
          return d;
      return "";
    }
    case PLIST_DICT: {
      DictPtr ours = v.asDict();
      const auto entries = DictEntries(node);
      if (!ours || ours->size() != entries.size()) return differs;
      for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [key, item] = ours->entries()[i];
        if (key != entries[i].first) return path + ": key " + std::to_string(i) + " differs";
        if (auto d = Compare(entries[i].second, item, path + "/" + key); !d.empty()) return d;
      }
      return "";
    }
    default:
      return path + ": libplist node of another type";
  }
}

}  // namespace libplist_detail

// Empty when libplist reads `bytes` as the same tree as `ours`; else where they part.
inline std::string DifferenceFromLibplist(std::string_view bytes, const Value& ours) {
  plist_t root = nullptr;
  plist_from_memory(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
  if (!root) return "libplist refuses the bytes";
  std::unique_ptr<void, void (*)(plist_t)> owner(root, plist_free);
  return libplist_detail::Compare(root, ours, "");
}

}  // namespace linvara::testing
