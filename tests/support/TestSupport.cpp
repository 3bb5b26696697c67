#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "profile/ProfileFile.h"

namespace fs = std::filesystem;

namespace linvara::testing {

TempDir::TempDir() {
  std::string templ = (fs::temp_directory_path() / "linvara-test-XXXXXX").string();
  char* made = ::mkdtemp(templ.data());
  if (!made) throw std::runtime_error("mkdtemp failed");
  path_ = made;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore permissions a test may have taken away, then remove everything.
  for (auto it = fs::recursive_directory_iterator(path_, ec); it != fs::recursive_directory_iterator(); it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

fs::path TestDataDir() {
  if (const char* env = std::getenv("LINVARA_TEST_DATA")) return env;
  return fs::path(LINVARA_SOURCE_DIR) / "tests" / "data";
}

fs::path TestData(const std::string& relative) { return TestDataDir() / relative; }

void WriteText(const fs::path& file, const std::string& text) {
  if (auto written = profile::WriteProfileFile(file, text); !written) throw std::runtime_error(written.error());
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

fs::path CopyTestFile(const std::string& relative, const fs::path& to) {
  fs::create_directories(to.parent_path());
  fs::copy_file(TestData(relative), to, fs::copy_options::overwrite_existing);
  return to;
}

std::string FolderFingerprint(const fs::path& folder) {
  std::vector<std::string> lines;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::string rel = fs::relative(it->path(), folder, ec).string();
    if (it->is_regular_file(ec)) {
      std::string bytes = ReadText(it->path());
      lines.push_back(rel + " " + std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>{}(bytes)));
    } else {
      lines.push_back(rel + "/");
    }
  }
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

Value WholeSeconds(const Value& value) {
  if (value.isDate()) return Date{std::floor(value.asDate()->secondsSince2001)};
  if (DictPtr dict = value.asDict()) {
    auto out = Dictionary::make();
    for (const auto& [key, item] : *dict) out->set(key, WholeSeconds(item));
    return out;
  }
  if (ArrayPtr array = value.asArray()) {
    auto out = Array::make();
    for (const auto& item : *array) out->append(WholeSeconds(item));
    return out;
  }
  return value;
}

std::vector<std::string> Titles(const NodeList& nodes) {
  std::vector<std::string> out;
  for (const NodePtr& n : nodes) out.push_back(OrNull(n->thetitle()));
  return out;
}

}  // namespace linvara::testing
