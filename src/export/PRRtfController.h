#pragma once
// Plain-text builder of the cookie export: records are appended to one buffer
// that is written in one step to "cookiedata.txt" in a folder.
#include <filesystem>
#include <string>

#include "model/Result.h"

namespace linvara {

class PRRtfController {
 public:
  static constexpr const char* kFileName = "cookiedata.txt";

  // Appends the text and then two line feeds.
  void addRtfContent(const std::string& text);
  // Closes the text; appends nothing.
  void setRtfEnder();
  // Writes the buffer as UTF-8 to folder/"cookiedata.txt", replacing an older
  // file in one step. The type is not used.
  Result<void> writeRtfInPath(const std::filesystem::path& folder, const std::string& fileType);

  const std::string& strRtfContent() const { return content_; }

 private:
  std::string content_;
};

}  // namespace linvara
