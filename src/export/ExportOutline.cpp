#include "export/ExportOutline.h"

namespace linvara {

void ExportOutline::Add(ExportLine::Kind kind, std::string_view title, std::string_view url) {
  lines.push_back({kind, static_cast<std::uint32_t>(title.size()), static_cast<std::uint32_t>(url.size())});
  text.append(title).append(url);
}

std::size_t ExportOutline::bookmarkCount() const {
  std::size_t count = 0;
  for (const ExportLine& line : lines) count += line.kind == ExportLine::Kind::Bookmark;
  return count;
}

ExportOutline AddSubBoomarkFolderandBookmarkUrlwith(const NodeList& rows) {
  ExportOutline outline;
  struct Level {
    NodeList entries;
    std::size_t next = 0;
  };
  std::vector<Level> open;  // the folders being listed, innermost last
  open.push_back({rows, 0});
  while (!open.empty()) {
    Level& level = open.back();
    if (level.next == level.entries.size()) {
      open.pop_back();
      if (!open.empty()) outline.Add(ExportLine::Kind::FolderClose);
      continue;
    }
    const NodePtr node = level.entries[level.next++];
    const bool topLevel = open.size() == 1;
    if (!node) continue;
    const std::string title = node->thetitle().value_or(std::string());
    if (node->isLeaf()) {
      outline.Add(ExportLine::Kind::Bookmark, title, node->urlString().value_or(std::string()));
      continue;
    }
    const FolderPtr folder = topLevel ? AsFolder(node) : AsFolderOrRoot(node);
    if (!folder) continue;
    outline.Add(ExportLine::Kind::FolderOpen, title);
    open.push_back({folder->childrenSnapshot(), 0});  // may move `level`; not used below
  }
  return outline;
}

void AppendOutline(PRHtmlController& builder, const ExportOutline& outline) {
  std::string_view text = outline.text;
  for (const ExportLine& line : outline.lines) {
    const std::string_view title = text.substr(0, line.titleSize);
    const std::string_view url = text.substr(line.titleSize, line.urlSize);
    text.remove_prefix(line.titleSize + line.urlSize);
    switch (line.kind) {
      case ExportLine::Kind::Bookmark: builder.addBookMarkHtmlContent(url, title); break;
      case ExportLine::Kind::FolderOpen: builder.addFolderHeadHtmlContent(title); break;
      case ExportLine::Kind::FolderClose: builder.addFolderBackHtmlContent(); break;
    }
  }
}

Result<std::filesystem::path> WriteBookmarkHtml(const std::filesystem::path& folder, const ExportOutline& outline,
                                                ExportFile file) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return Fail("cannot create " + folder.string() + ": " + ec.message(), ErrorKind::WriteFailed);
  // Room for the fixed parts of every line and for some entities.
  PRHtmlController builder(4096 + outline.lines.size() * 40 + outline.text.size() + outline.text.size() / 8);
  builder.initMessageHtmlHeader();
  AppendOutline(builder, outline);
  const bool chrome = file == ExportFile::ChromeTree;
  Result<void> written = chrome ? builder.writeChromeHtmlInPathEx(folder) : builder.writeHtmlInPathEx(folder);
  if (!written) return written.failure();
  return folder / (chrome ? PRHtmlController::kChromeFileName : PRHtmlController::kFileName);
}

}  // namespace linvara
