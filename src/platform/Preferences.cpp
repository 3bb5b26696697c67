#include "platform/Preferences.h"

#include <chrono>

#include "model/PropertyList.h"
#include "platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace linvara {

Preferences::Preferences() = default;

Preferences::Preferences(fs::path file) : file_(std::move(file)) {
  std::error_code ec;
  if (!fs::exists(file_, ec)) return;
  auto parsed = ReadPropertyListFile(file_);
  if (parsed && parsed->isDict()) {
    values_ = parsed->asDict();
    return;
  }
  // Keep the unreadable file for the user; start with defaults.
  auto stamp = std::chrono::duration_cast<std::chrono::seconds>(
                   std::chrono::system_clock::now().time_since_epoch())
                   .count();
  fs::path aside = file_;
  aside += ".corrupt-" + std::to_string(stamp);
  fs::rename(file_, aside, ec);
  if (!ec) quarantined_ = aside;
}

Value Preferences::get(const std::string& key) const {
  std::lock_guard lock(mutex_);
  return values_->get(key);
}

bool Preferences::contains(const std::string& key) const {
  std::lock_guard lock(mutex_);
  return values_->contains(key);
}

std::optional<std::string> Preferences::getString(const std::string& key) const {
  std::lock_guard lock(mutex_);
  return values_->getString(key);
}

bool Preferences::getBool(const std::string& key, bool fallback) const {
  Value v = get(key);
  if (auto b = v.asBool()) return *b;
  if (auto i = v.asInt()) return *i != 0;
  if (const std::string* s = v.asString()) return *s == "YES" || *s == "1" || *s == "true";
  return fallback;
}

Result<void> Preferences::set(const std::string& key, Value value) {
  std::lock_guard lock(mutex_);
  values_->set(key, std::move(value));
  return saveLocked();
}

Result<void> Preferences::remove(const std::string& key) {
  std::lock_guard lock(mutex_);
  values_->remove(key);
  return saveLocked();
}

Result<void> Preferences::saveLocked() {
  if (file_.empty()) return {};
  std::error_code ec;
  fs::create_directories(file_.parent_path(), ec);
  auto xml = SerializePropertyListXml(Value(values_));
  if (!xml) return Fail(xml.error());
  return WriteFileAtomically(file_, *xml);
}

}  // namespace linvara
