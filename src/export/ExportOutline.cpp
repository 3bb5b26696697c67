#include "export/ExportOutline.h"

namespace linvara {

namespace {
ExportLine Line(ExportLine::Kind kind, const NodePtr& node) {
  ExportLine line;
  line.kind = kind;
  if (kind == ExportLine::Kind::FolderClose) return line;
  line.title = node->thetitle().value_or(std::string());
  if (kind == ExportLine::Kind::Bookmark) line.url = node->urlString().value_or(std::string());
  return line;
}

// Upper bound of the bytes a line takes in the file, for the builder's reserve.
std::size_t ExpectedBytes(const ExportOutline& outline) {
  std::size_t bytes = 4096;
  for (const ExportLine& line : outline) bytes += 40 + line.title.size() + line.url.size();
  return bytes + bytes / 8;  // room for entities
}
}  // namespace

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
      if (!open.empty()) outline.push_back(Line(ExportLine::Kind::FolderClose, nullptr));
      continue;
    }
    const NodePtr node = level.entries[level.next++];
    const bool topLevel = open.size() == 1;
    if (!node) continue;
    if (node->isLeaf()) {
      outline.push_back(Line(ExportLine::Kind::Bookmark, node));
      continue;
    }
    const FolderPtr folder = topLevel ? AsFolder(node) : AsFolderOrRoot(node);
    if (!folder) continue;
    outline.push_back(Line(ExportLine::Kind::FolderOpen, node));
    open.push_back({folder->childrenSnapshot(), 0});  // may move `level`; not used below
  }
  return outline;
}

void AppendOutline(PRHtmlController& builder, const ExportOutline& outline) {
  for (const ExportLine& line : outline) {
    switch (line.kind) {
      case ExportLine::Kind::Bookmark: builder.addBookMarkHtmlContent(line.url, line.title); break;
      case ExportLine::Kind::FolderOpen: builder.addFolderHeadHtmlContent(line.title); break;
      case ExportLine::Kind::FolderClose: builder.addFolderBackHtmlContent(); break;
    }
  }
}

Result<std::filesystem::path> WriteBookmarkHtml(const std::filesystem::path& folder, const ExportOutline& outline,
                                                ExportFile file) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return Fail("cannot create " + folder.string() + ": " + ec.message(), ErrorKind::WriteFailed);
  PRHtmlController builder(ExpectedBytes(outline));
  builder.initMessageHtmlHeader();
  AppendOutline(builder, outline);
  const bool chrome = file == ExportFile::ChromeTree;
  Result<void> written = chrome ? builder.writeChromeHtmlInPathEx(folder) : builder.writeHtmlInPathEx(folder);
  if (!written) return written.failure();
  return folder / (chrome ? PRHtmlController::kChromeFileName : PRHtmlController::kFileName);
}

}  // namespace linvara
