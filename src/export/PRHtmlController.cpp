#include "export/PRHtmlController.h"

#include "platform/AtomicFile.h"

namespace linvara {

namespace {
// Appends `text` with each character of `special` replaced by its entity.
void AppendEscaped(std::string& out, std::string_view text, std::string_view special) {
  while (!text.empty()) {
    const std::size_t at = text.find_first_of(special);
    out.append(text.substr(0, at));
    if (at == std::string_view::npos) return;
    switch (text[at]) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += "&quot;"; break;
    }
    text.remove_prefix(at + 1);
  }
}
}  // namespace

void AppendHtmlText(std::string& out, std::string_view text) { AppendEscaped(out, text, "&<>\""); }
void AppendHtmlAttribute(std::string& out, std::string_view text) { AppendEscaped(out, text, "&\""); }

PRHtmlController::PRHtmlController(std::size_t expectedSize) { content_.reserve(expectedSize); }

void PRHtmlController::initMessageHtmlHeader() {
  content_ +=
      "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
      "<HTML>\n"
      "<META HTTP-EQUIV='Content-Type' CONTENT='text/html; charset=UTF-8'>\n"
      "<Title>Bookmarks</Title>\n"
      "<H1>Bookmarks</H1>\n";
}

void PRHtmlController::addFolderHeadHtmlContent(std::string_view title) {
  content_ += "<DT><H3 FOLDED>";
  AppendHtmlText(content_, title);
  content_ += "</H3>\n<DL><p>\n";
}

void PRHtmlController::addBookMarkHtmlContent(std::string_view address, std::string_view title) {
  content_ += "    <DT><A HREF=\"";
  AppendHtmlAttribute(content_, address);
  content_ += "\">";
  AppendHtmlText(content_, title);
  content_ += "</A>\n";
}

void PRHtmlController::addFolderBackHtmlContent() { content_ += "</DL><p>\n"; }

Result<void> PRHtmlController::writeHtmlInPathEx(const std::filesystem::path& folder) {
  return WriteClosed(folder / kFileName);
}

Result<void> PRHtmlController::writeChromeHtmlInPathEx(const std::filesystem::path& folder) {
  return WriteClosed(folder / kChromeFileName);
}

Result<void> PRHtmlController::WriteClosed(const std::filesystem::path& file) {
  content_ += "</HTML>";
  return WriteFileAtomically(file, content_);
}

}  // namespace linvara
