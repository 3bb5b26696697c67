#pragma once
// Reads the browsers' bookmark files into the session's lists for the current
// view, and keeps what each read could not do in a report. It shows nothing:
// the caller chooses what to tell the user.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/BookmarkSession.h"
#include "readers/ReadReport.h"

namespace linvara {

class ReadAhead;
struct FirefoxSource;

class BookmarkReadController {
 public:
  explicit BookmarkReadController(BookmarkSession& session) : session_(session) {}
  BookmarkReadController(const BookmarkReadController&) = delete;
  BookmarkReadController& operator=(const BookmarkReadController&) = delete;

  // Called now and then while a reader fills the lists on the main thread; the
  // window lets itself repaint here (user input waits until the read is over).
  std::function<void()> keepResponsive;

  // Each reader in its plain form, or its removal form when a list is given.
  void ReadSafariBookMark(const std::filesystem::path& path, const NodeList* removeList = nullptr);
  void ReadChromeBookMark(const std::filesystem::path& path, const NodeList* removeList = nullptr);
  void ReadEdgeBookMark(const NodeList* removeList = nullptr);
  void ReadOperaBookMark(const NodeList* removeList = nullptr);
  void ReadFirefoxBookMark(const NodeList* removeList = nullptr);
  // The five readers in the order of the unified view; the report starts afresh.
  void ReadAllBrowsers();

  // What the reads told: the latest outcome per browser.
  const ReadReport& lastReadReport() const { return report_; }
  // Bundle identifiers of the running browsers that stop a full read (Edge never does).
  std::vector<std::string> RunningBrowsersBlockingFullRead();

 private:
  void ReadFirefox(const FirefoxSource& source, const NodeList* removeList);
  void Record(const char* browser, const std::filesystem::path& file, const ReadResult& result);

  BookmarkSession& session_;
  ReadReport report_;
  ReadAhead* readAhead_ = nullptr;  // set during ReadAllBrowsers
};

}  // namespace linvara
