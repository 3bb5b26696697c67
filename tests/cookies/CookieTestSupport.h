#pragma once
// Helpers for the cookie tests: a fixed time zone and small SQLite fixtures.
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

namespace linvara::testing {

// Sets TZ for the life of the object, so date texts are predictable.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old, hadOld_ = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (hadOld_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::string saved_;
  bool hadOld_ = false;
};

// Runs SQL on a database (created when missing); fails the test on error.
void ExecSql(const std::filesystem::path& db, const std::string& sql);
// The first column of the first row as text ("" when there is none).
std::string QuerySql(const std::filesystem::path& db, const std::string& sql);

}  // namespace linvara::testing
