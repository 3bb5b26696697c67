#pragma once
// Helpers shared by the test suites.
#include <filesystem>
#include <string>

#include "model/PRBookMarkNode.h"
#include "model/Value.h"

namespace linvara::testing {

// A fresh folder removed when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& rel) const { return path_ / rel; }

 private:
  std::filesystem::path path_;
};

// tests/data and the shared real browser files copied there.
std::filesystem::path TestDataDir();
std::filesystem::path TestData(const std::string& relative);

// Writes the file in one step, its folders made first; throws when it cannot.
void WriteText(const std::filesystem::path& file, const std::string& text);
std::string ReadText(const std::filesystem::path& file);
// Copies a file of tests/data to `to`, its folders made first (the code under test must never touch tests/data).
std::filesystem::path CopyTestFile(const std::string& relative, const std::filesystem::path& to);
// SHA-256-free fingerprint of a whole folder: every file's relative path, size and bytes hash.
std::string FolderFingerprint(const std::filesystem::path& folder);
// The tree with every date cut to whole seconds, all that XML property lists keep.
Value WholeSeconds(const Value& value);
// The titles of the nodes, in order.
std::vector<std::string> Titles(const NodeList& nodes);

}  // namespace linvara::testing
