#include "export/PRRtfController.h"

#include "platform/AtomicFile.h"

namespace linvara {

void PRRtfController::addRtfContent(const std::string& text) {
  content_ += text;
  content_ += "\n\n";
}

void PRRtfController::setRtfEnder() {}

Result<void> PRRtfController::writeRtfInPath(const std::filesystem::path& folder, const std::string& fileType) {
  (void)fileType;
  setRtfEnder();
  return WriteFileAtomically(folder / kFileName, content_);
}

}  // namespace linvara
