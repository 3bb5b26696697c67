#pragma once
// Builder of the HTML bookmark file that browsers import (the Netscape
// bookmark file format): fixed pieces appended to one buffer, which is then
// written in one step inside a folder.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "model/Result.h"

namespace linvara {

class PRHtmlController {
 public:
  static constexpr const char* kFileName = "Linvara.html";
  static constexpr const char* kChromeFileName = "Chrome BookMark.html";

  // `expectedSize`: bytes reserved up front, so a large export grows the buffer rarely.
  explicit PRHtmlController(std::size_t expectedSize = std::size_t{1} << 20);

  // The file header: doctype, content type, title and heading, one line each.
  void initMessageHtmlHeader();
  // "<DT><H3 FOLDED>title</H3>" and "<DL><p>" on the next line.
  void addFolderHeadHtmlContent(std::string_view title);
  // Four spaces, then "<DT><A HREF="address">title</A>".
  void addBookMarkHtmlContent(std::string_view address, std::string_view title);
  // "</DL><p>".
  void addFolderBackHtmlContent();
  // Appends "</HTML>" and writes the buffer to folder/"Linvara.html".
  Result<void> writeHtmlInPathEx(const std::filesystem::path& folder);
  // Appends "</HTML>" and writes the buffer to folder/"Chrome BookMark.html".
  Result<void> writeChromeHtmlInPathEx(const std::filesystem::path& folder);

  const std::string& strHtmlContent() const { return content_; }

 private:
  Result<void> WriteClosed(const std::filesystem::path& file);
  std::string content_;
};

// Text as the browsers' own exporters write it: & < > " become entities in
// titles, & and " in an address (an attribute value in double quotes).
void AppendHtmlText(std::string& out, std::string_view text);
void AppendHtmlAttribute(std::string& out, std::string_view text);

}  // namespace linvara
