#pragma once
// The preferences store: a small dictionary persisted as an XML property list,
// written in one step after every change. A file that does not parse is
// renamed aside (never overwritten) and the store starts empty.
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "model/Result.h"
#include "model/Value.h"

namespace linvara {

namespace prefkeys {
inline constexpr const char* kFirstStart = "FirstStart";                        // string
inline constexpr const char* kBookMarkAlertSuppress = "BookMarkAlertSuppress";  // boolean
inline constexpr const char* kLinvaraPassword = "LinvaraPassword";              // string
inline constexpr const char* kLinvaraStoreData = "LinvaraStoreData";            // data
inline constexpr const char* kLinvaraData = "LinvaraData";                      // data
}  // namespace prefkeys

class Preferences {
 public:
  // A store backed by a file; loads it now.
  explicit Preferences(std::filesystem::path file);
  // A store that lives in memory only.
  Preferences();

  Value get(const std::string& key) const;
  bool contains(const std::string& key) const;
  std::optional<std::string> getString(const std::string& key) const;
  bool getBool(const std::string& key, bool fallback = false) const;

  // Sets and saves. A failed save keeps the value in memory and reports the error.
  Result<void> set(const std::string& key, Value value);
  Result<void> remove(const std::string& key);

  // Where a corrupt file was moved at load, if it was.
  const std::optional<std::filesystem::path>& quarantinedFile() const { return quarantined_; }

 private:
  Result<void> saveLocked();
  std::filesystem::path file_;
  DictPtr values_ = Dictionary::make();
  std::optional<std::filesystem::path> quarantined_;
  mutable std::mutex mutex_;
};

}  // namespace linvara
