#include "app/TableRows.h"

#include <charconv>

#include "app/Outlets.h"
#include "cookies/CookieText.h"

namespace linvara {
namespace {

struct BrowserEntry {
  const char* tag;
  const char* typeText;
  const char* icon;
};

constexpr BrowserEntry kBrowsers[] = {
    {"Safari", "Safari bookmark", images::kSafariLogo},
    {"Chrome", "Chrome bookmark", images::kChromeLogo},
    {"Firefox", "Firefox bookmark", images::kFirefoxLogo},
    {"Opera", "Opera bookmark", images::kOperaLogo},
    {"Microsoft Edge", "Microsoft Edge bookmark", images::kEdgeLogo},
};

const BrowserEntry* FindBrowser(const OptString& tag) {
  if (!tag) return nullptr;
  for (const auto& b : kBrowsers)
    if (*tag == b.tag) return &b;
  return nullptr;
}

}  // namespace

std::string BrowserTypeText(const OptString& bookMarkFrom) {
  const BrowserEntry* b = FindBrowser(bookMarkFrom);
  return b ? b->typeText : "";
}

std::string BrowserIcon(const OptString& bookMarkFrom) {
  const BrowserEntry* b = FindBrowser(bookMarkFrom);
  return b ? b->icon : "";
}

std::optional<std::int64_t> ChromiumTimeToUnixSeconds(const std::string& addDateStr) {
  std::int64_t micro = 0;
  const char* first = addDateStr.data();
  const char* last = first + addDateStr.size();
  auto [end, ec] = std::from_chars(first, last, micro);
  if (ec != std::errc() || end != last || addDateStr.empty()) return std::nullopt;
  return ChromeTimeToUnixSeconds(micro);
}

std::string ChromiumDateText(const std::string& addDateStr) {
  auto seconds = ChromiumTimeToUnixSeconds(addDateStr);
  if (!seconds) return {};
  return GetNSStringDate(GetDateTime(*seconds, kDateSecondsSince1970));
}

BookmarkRow MakeBookmarkRow(const NodePtr& node) {
  BookmarkRow row;
  if (!node) return row;
  if (node->isFolder()) {
    row.kind = BookmarkRow::Kind::Folder;
    row.icon = images::kFolderLogo;
    row.titleY = 8;
    row.title = OrNull(node->thetitle());  // an unset title shows as "(null)"
    row.addressLine.clear();
  } else if (node->isLeaf()) {
    row.kind = BookmarkRow::Kind::Bookmark;
    row.titleY = 21;
    if (auto t = node->thetitle()) row.title = *t;
    if (auto u = node->urlString()) row.addressLine = *u;
    row.icon = BrowserIcon(node->bookMarkFrom());
    if (node->bEncrytedBookmark()) {
      row.addressLine = kEncryptedAddressMask;
      row.icon = images::kLock;
    }
  }
  // Date, UDID and Type columns show for any row whose node has the field.
  if (auto d = node->addDateStr()) row.date = ChromiumDateText(*d);
  if (auto id = node->bookMarkUUID()) row.uuid = *id;
  if (auto p = node->theFullPath()) row.path = *p;
  row.type = BrowserTypeText(node->bookMarkFrom());
  return row;
}

ResultRow MakeDuplicateGroupRow(const NodePtr& group) {
  ResultRow row;
  if (!group) return row;
  if (auto t = group->thetitle()) row.title = *t;
  row.node = group;
  return row;
}

ResultRow MakeDuplicateMemberRow(const NodePtr& member, ViewKind bookMarkType) {
  ResultRow row = MakeDeadLinkRow(member);
  if (!member) return row;
  if (auto p = member->theFullPath()) {
    if (bookMarkType == ViewKind::All)
      row.path = *p + "        --" + BrowserTypeText(member->bookMarkFrom());
    else if (IsTreeView(bookMarkType))
      row.path = *p;
  }
  return row;
}

ResultRow MakeDeadLinkRow(const NodePtr& node) {
  ResultRow row;
  if (!node) return row;
  if (auto t = node->thetitle()) row.title = *t;
  if (auto u = node->urlString()) row.addressLine = *u;
  row.checked = node->bSelect();
  row.node = node;
  return row;
}

}  // namespace linvara
