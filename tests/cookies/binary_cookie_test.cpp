#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>

#include "CookieTestSupport.h"
#include "cookies/BinaryCookieFile.h"
#include "cookies/CookieFiles.h"
#include "model/FileBytes.h"
#include "support/TestSupport.h"

namespace linvara {
namespace {

using testing::ScopedTimeZone;
using testing::TempDir;
using testing::TestData;

const char* const k2014File = "safari_binarycookies/safari-macos-2014_29pages-91cookies_Cookies.binarycookies";
const char* const k2017File = "safari_binarycookies/safari-macos-2017_2pages-2cookies_Cookies.binarycookies";

struct Read {
  std::vector<std::int32_t> pageSizes;
  CookieList cookies;
};

Read ReadBytes(std::string_view bytes) {
  Read r;
  ReadCookBinaryBytes(bytes, r.pageSizes, r.cookies);
  return r;
}

Read ReadPath(const std::filesystem::path& path) {
  Read r;
  ReadCookBinaryFileWithPath(path, r.pageSizes, r.cookies);
  return r;
}

BinaryCookieRecord Cookie(std::string domain, std::string name, std::string path, std::string value,
                          std::uint32_t flags = 0) {
  BinaryCookieRecord r;
  r.domain = std::move(domain);
  r.name = std::move(name);
  r.path = std::move(path);
  r.value = std::move(value);
  r.flags = flags;
  return r;
}

void PutLE32(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

std::uint32_t BE32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return v;
}

// "cook", the page table and the given pages, unchanged.
std::string FileOfPages(const std::vector<std::string>& pages) {
  std::string out = "cook";
  auto be = [&](std::uint32_t v) {
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
  };
  be(static_cast<std::uint32_t>(pages.size()));
  for (const auto& p : pages) be(static_cast<std::uint32_t>(p.size()));
  for (const auto& p : pages) out += p;
  return out;
}

// A page whose records are given as raw bytes.
std::string PageOfRecords(const std::vector<std::string>& records) {
  std::string out("\x00\x00\x01\x00", 4);
  std::string count(4, '\0');
  PutLE32(count, 0, static_cast<std::uint32_t>(records.size()));
  out += count;
  std::uint32_t offset = static_cast<std::uint32_t>(12 + 4 * records.size());
  for (const auto& r : records) {
    std::string o(4, '\0');
    PutLE32(o, 0, offset);
    out += o;
    offset += static_cast<std::uint32_t>(r.size());
  }
  out.append(4, '\0');
  for (const auto& r : records) out += r;
  return out;
}

// ---- Real files ----

TEST(BinaryCookieRealFiles, The2014FileListsAll91CookiesOf29Pages) {
  ScopedTimeZone utc("UTC");
  Read r = ReadPath(TestData(k2014File));
  ASSERT_EQ(r.cookies.size(), 91u);
  ASSERT_EQ(r.pageSizes.size(), 29u);
  EXPECT_EQ(r.pageSizes[0], 118);
  EXPECT_EQ(r.pageSizes[3], 305);

  // This file stores name, value, domain, path: each string is read from its own offset.
  const PRCookFileNode& first = *r.cookies.front();
  EXPECT_EQ(first.fileHost, "en.wikipedia.org");
  EXPECT_EQ(first.fileName, "centralnotice_bucket");
  EXPECT_EQ(first.filePath, "/");
  EXPECT_EQ(first.fileValue, "0-4.2");
  EXPECT_EQ(first.secureValue, "NO");
  EXPECT_EQ(first.cookieStartOffSet, 8u + 4 * 29 + 12 + 4 * 1);
  EXPECT_EQ(first.cookieLength, 102);
  EXPECT_EQ(first.expiredDate, "07-15-2013 17:24");
  EXPECT_FALSE(first.hasExpired);

  const PRCookFileNode& second = *r.cookies[1];
  EXPECT_EQ(second.fileHost, "accounts.google.com");
  EXPECT_EQ(second.fileName, "GAPS");
  EXPECT_EQ(second.secureValue, "YES");  // flags 5: secure and HttpOnly
  EXPECT_EQ(second.cookieStartOffSet, 258u);

  const PRCookFileNode& last = *r.cookies.back();
  EXPECT_EQ(last.fileHost, ".facebook.com");
  EXPECT_EQ(last.fileName, "datr");
  EXPECT_EQ(last.fileValue, "lCvbUQXonPPHoWPg0eTq8Ktx");
  EXPECT_EQ(last.secureValue, "NO");  // flags 4: HttpOnly only
  EXPECT_EQ(last.cookieStartOffSet, 12388u);

  std::set<std::string> hosts;
  int secure = 0, emptyValues = 0;
  for (const auto& c : r.cookies) {
    hosts.insert(*c->fileHost);
    secure += c->secureValue == "YES";
    emptyValues += c->fileValue->empty();
    EXPECT_TRUE(c->expiredDate.has_value());
  }
  EXPECT_EQ(hosts.size(), 29u);
  EXPECT_EQ(secure, 2);  // the records with flags 1 and 5
  EXPECT_EQ(emptyValues, 1);
}

TEST(BinaryCookieRealFiles, The2017FileWithItsTrailingPropertyList) {
  ScopedTimeZone utc("UTC");
  Read r = ReadPath(TestData(k2017File));
  ASSERT_EQ(r.cookies.size(), 2u);
  EXPECT_EQ(r.pageSizes, (std::vector<std::int32_t>{144, 140}));
  EXPECT_EQ(r.cookies[0]->fileHost, ".ycombinator.com");
  EXPECT_EQ(r.cookies[0]->fileName, "__cfduid");
  EXPECT_EQ(r.cookies[0]->filePath, "/");
  EXPECT_EQ(r.cookies[0]->fileValue, "df18e79ede20f18e7c846380faf82b1341513466557");
  EXPECT_EQ(r.cookies[0]->secureValue, "NO");  // flags 4
  EXPECT_EQ(r.cookies[0]->expiredDate, "12-16-2018 23:22");
  EXPECT_EQ(r.cookies[0]->cookieStartOffSet, 32u);
  EXPECT_EQ(r.cookies[1]->fileHost, "news.ycombinator.com");
  EXPECT_EQ(r.cookies[1]->fileName, "user");
  EXPECT_EQ(r.cookies[1]->secureValue, "YES");  // flags 5
  EXPECT_EQ(r.cookies[1]->expiredDate, "01-17-2038 19:14");
  EXPECT_EQ(r.cookies[1]->cookieStartOffSet, 176u);
}

TEST(BinaryCookieRealFiles, StoredChecksumIsTheSumOfEveryFourthPageByte) {
  for (const char* name : {k2014File, k2017File}) {
    auto bytes = ReadFileBytes(TestData(name));
    ASSERT_TRUE(bytes.ok());
    const std::string& b = *bytes;
    const std::uint32_t pages = BE32(b, 4);
    std::size_t at = 8 + 4 * pages;
    std::uint32_t sum = 0;
    for (std::uint32_t i = 0; i < pages; ++i) {
      const std::uint32_t size = BE32(b, 8 + 4 * i);
      sum += BinaryCookiePageChecksum(std::string_view(b).substr(at, size));
      at += size;
    }
    EXPECT_EQ(BE32(b, at), sum) << name;
    EXPECT_EQ(BE32(b, at + 4), 0x07172005u) << name;
  }
}

TEST(BinaryCookieRealFiles, AppendsToTheListAndLeavesItAloneForAMissingFile) {
  Read r;
  r.cookies.push_back(std::make_shared<PRCookFileNode>());
  r.pageSizes = {7};
  ReadCookBinaryFileWithPath("/nonexistent/Cookies.binarycookies", r.pageSizes, r.cookies);
  EXPECT_EQ(r.cookies.size(), 1u);
  EXPECT_EQ(r.pageSizes, std::vector<std::int32_t>{7});
  ReadCookBinaryFileWithPath(TestData(k2017File), r.pageSizes, r.cookies);
  EXPECT_EQ(r.cookies.size(), 3u);
  EXPECT_EQ(r.pageSizes.size(), 2u);
}

// ---- Written files ----

TEST(BinaryCookieWriter, RoundTripsEveryFieldThroughTheReader) {
  ScopedTimeZone utc("UTC");
  BinaryCookieRecord a = Cookie(".example.com", "sid", "/account", "abc=def", 1);
  a.expiry = 566695357.0;
  BinaryCookieRecord b = Cookie("example.org", "pref", "/", "", 4);
  const std::string file = BuildBinaryCookieFile({{a, b}, {}, {Cookie("x.test", "n", "/p", "v", 5)}});
  Read r = ReadBytes(file);
  ASSERT_EQ(r.cookies.size(), 3u);
  EXPECT_EQ(r.pageSizes.size(), 3u);
  EXPECT_EQ(r.cookies[0]->fileHost, ".example.com");
  EXPECT_EQ(r.cookies[0]->fileName, "sid");
  EXPECT_EQ(r.cookies[0]->filePath, "/account");
  EXPECT_EQ(r.cookies[0]->fileValue, "abc=def");
  EXPECT_EQ(r.cookies[0]->secureValue, "YES");
  EXPECT_EQ(r.cookies[0]->expiredDate, "12-16-2018 23:22");
  EXPECT_EQ(r.cookies[1]->fileValue, "");
  EXPECT_EQ(r.cookies[1]->secureValue, "NO");
  EXPECT_FALSE(r.cookies[1]->expiredDate.has_value());  // expiry 0: none
  EXPECT_EQ(r.cookies[2]->fileHost, "x.test");
  EXPECT_EQ(r.cookies[2]->secureValue, "YES");
  // The file ends with the checksum and the end marker.
  EXPECT_EQ(BE32(file, file.size() - 4), 0x07172005u);
}

TEST(BinaryCookieWriter, SampleCookiesResourceIsAnEmptyValidFile) {
  const std::string_view sample = SampleCookiesBytes();
  EXPECT_EQ(sample, BuildBinaryCookieFile({}));
  EXPECT_EQ(sample.substr(0, 4), "cook");
  auto resource = ReadFileBytes(std::filesystem::path(LINVARA_SOURCE_DIR) / "resources" / "samplecookies");
  ASSERT_TRUE(resource.ok());
  EXPECT_EQ(*resource, sample);
  Read r = ReadBytes(sample);
  EXPECT_TRUE(r.cookies.empty());
  EXPECT_TRUE(r.pageSizes.empty());
  TempDir dir;
  testing::WriteText(dir / "samplecookies", std::string(sample));
  EXPECT_EQ(DetectCookieFileKind(dir / "samplecookies"), CookieFileKind::Binary);
}

// ---- Edge cases ----

TEST(BinaryCookieEdgeCases, EightBytesWithNoPagesGiveAnEmptyList) {
  Read r = ReadBytes(std::string("cook\0\0\0\0", 8));
  EXPECT_TRUE(r.cookies.empty());
  EXPECT_TRUE(r.pageSizes.empty());
  EXPECT_TRUE(ReadBytes(std::string("cook\x80\0\0\0", 8)).cookies.empty());  // negative count
  EXPECT_TRUE(ReadBytes("").cookies.empty());
  EXPECT_TRUE(ReadBytes("co").cookies.empty());
}

TEST(BinaryCookieEdgeCases, AZeroCookiePageTakesTwelveBytes) {
  const std::string empty = EncodeBinaryCookiePage({});
  ASSERT_EQ(empty.size(), 12u);
  const std::string file = FileOfPages({empty, EncodeBinaryCookiePage({Cookie("a.test", "n", "/", "v")})});
  Read r = ReadBytes(file);
  ASSERT_EQ(r.cookies.size(), 1u);
  EXPECT_EQ(r.cookies[0]->fileHost, "a.test");
  EXPECT_EQ(r.cookies[0]->cookieStartOffSet, 8u + 8 + 12 + 12 + 4);
}

TEST(BinaryCookieEdgeCases, FirstRecordStartsAfterBothHeaders) {
  const std::string file = BuildBinaryCookieFile(
      {{Cookie("a.test", "1", "/", "x"), Cookie("b.test", "2", "/", "y"), Cookie("c.test", "3", "/", "z")}});
  Read r = ReadBytes(file);
  ASSERT_EQ(r.cookies.size(), 3u);
  EXPECT_EQ(r.cookies[0]->cookieStartOffSet, 8u + 4 * 1 + 12 + 4 * 3);
  EXPECT_EQ(r.cookies[1]->cookieStartOffSet, r.cookies[0]->cookieStartOffSet + r.cookies[0]->cookieLength);
}

TEST(BinaryCookieEdgeCases, RecordWithAnOffsetOutsideItIsSkippedAndTheNextOneRead) {
  for (std::size_t field : {16u, 20u, 24u, 28u}) {
    for (std::uint32_t badOffset : {0u, 55u, 0xffffffffu, 1000u}) {
      std::string bad = EncodeBinaryCookieRecord(Cookie("bad.test", "n", "/", "v"));
      PutLE32(bad, field, badOffset == 1000u ? static_cast<std::uint32_t>(bad.size()) : badOffset);
      const std::string good = EncodeBinaryCookieRecord(Cookie("good.test", "g", "/", "w"));
      Read r = ReadBytes(FileOfPages({PageOfRecords({bad, good})}));
      ASSERT_EQ(r.cookies.size(), 1u) << field << " " << badOffset;
      EXPECT_EQ(r.cookies[0]->fileHost, "good.test");
      EXPECT_EQ(r.cookies[0]->cookieStartOffSet, 8u + 4 + 12 + 8 + bad.size());
    }
  }
}

TEST(BinaryCookieEdgeCases, StringsAreReadInWhateverOrderTheyAreStored) {
  std::array<CookieString, 4> order{CookieString::Domain, CookieString::Name, CookieString::Path,
                                    CookieString::Value};
  int permutations = 0;
  do {
    BinaryCookieRecord c = Cookie("host.test", "theName", "/some/path", "the value");
    c.order = order;
    Read r = ReadBytes(BuildBinaryCookieFile({{c}}));
    ASSERT_EQ(r.cookies.size(), 1u);
    EXPECT_EQ(r.cookies[0]->fileHost, "host.test");
    EXPECT_EQ(r.cookies[0]->fileName, "theName");
    EXPECT_EQ(r.cookies[0]->filePath, "/some/path");
    EXPECT_EQ(r.cookies[0]->fileValue, "the value");
    ++permutations;
  } while (std::next_permutation(order.begin(), order.end()));
  EXPECT_EQ(permutations, 24);
}

TEST(BinaryCookieEdgeCases, AValueOfOneNulIsListedEmpty) {
  BinaryCookieRecord c = Cookie("a.test", "n", "/", "");
  Read r = ReadBytes(BuildBinaryCookieFile({{c}}));
  ASSERT_EQ(r.cookies.size(), 1u);
  EXPECT_EQ(r.cookies[0]->fileValue, "");
  // Every string empty still lists.
  r = ReadBytes(BuildBinaryCookieFile({{Cookie("", "", "", "")}}));
  ASSERT_EQ(r.cookies.size(), 1u);
  EXPECT_EQ(r.cookies[0]->fileHost, "");
}

TEST(BinaryCookieEdgeCases, InvalidUtf8GivesAnEmptyStringButListsTheCookie) {
  Read r = ReadBytes(BuildBinaryCookieFile({{Cookie("bad\xff\xfehost", "name", "/", "caf\xc3\xa9")}}));
  ASSERT_EQ(r.cookies.size(), 1u);
  EXPECT_EQ(r.cookies[0]->fileHost, "");
  EXPECT_EQ(r.cookies[0]->fileName, "name");
  EXPECT_EQ(r.cookies[0]->fileValue, "caf\xc3\xa9");
}

TEST(BinaryCookieEdgeCases, BitZeroOfTheFlagsMarksSecure) {
  const std::vector<std::pair<std::uint32_t, const char*>> cases{{0, "NO"}, {1, "YES"}, {4, "NO"}, {5, "YES"}};
  BinaryCookiePage page;
  for (const auto& [flags, expected] : cases) page.push_back(Cookie("a.test", "n", "/", "v", flags));
  Read r = ReadBytes(BuildBinaryCookieFile({page}));
  ASSERT_EQ(r.cookies.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(r.cookies[i]->secureValue, cases[i].second) << cases[i].first;
}

TEST(BinaryCookieEdgeCases, AStringWithoutNulStopsAtTheRecordsEnd) {
  // The value is the last string; drop its NUL and shrink the record by one.
  std::string first = EncodeBinaryCookieRecord(Cookie("a.test", "n", "/", "VALUE"));
  first.pop_back();
  PutLE32(first, 0, static_cast<std::uint32_t>(first.size()));
  const std::string second = EncodeBinaryCookieRecord(Cookie("b.test", "m", "/", "w"));
  Read r = ReadBytes(FileOfPages({PageOfRecords({first, second})}));
  ASSERT_EQ(r.cookies.size(), 2u);
  EXPECT_EQ(r.cookies[0]->fileValue, "VALUE");  // not running into the next record
  EXPECT_EQ(r.cookies[1]->fileHost, "b.test");
}

TEST(BinaryCookieEdgeCases, ARecordTooSmallForItsHeaderIsSkipped) {
  std::string tiny(40, '\0');
  PutLE32(tiny, 0, 40);
  const std::string good = EncodeBinaryCookieRecord(Cookie("good.test", "g", "/", "w"));
  Read r = ReadBytes(FileOfPages({PageOfRecords({tiny, good})}));
  ASSERT_EQ(r.cookies.size(), 1u);
  EXPECT_EQ(r.cookies[0]->fileHost, "good.test");
}

TEST(BinaryCookieEdgeCases, ASizeThatDoesNotMoveForwardEndsTheWalk) {
  for (std::uint32_t size : {0u, 0x80000000u, 0xffffffffu}) {
    std::string stuck = EncodeBinaryCookieRecord(Cookie("a.test", "n", "/", "v"));
    PutLE32(stuck, 0, size);
    const std::string good = EncodeBinaryCookieRecord(Cookie("good.test", "g", "/", "w"));
    Read r = ReadBytes(FileOfPages({PageOfRecords({good, stuck, good}), PageOfRecords({good})}));
    ASSERT_EQ(r.cookies.size(), 1u) << size;  // only the record before it
  }
}

TEST(BinaryCookieEdgeCases, CountsLargerThanTheFileAllowAreCapped) {
  // A page count of 2^31 - 1 in a file of a few bytes: nothing past the end is walked.
  std::string huge = BuildBinaryCookieFile({{Cookie("a.test", "n", "/", "v")}});
  huge[4] = '\x7f', huge[5] = '\xff', huge[6] = '\xff', huge[7] = '\xff';
  Read r = ReadBytes(huge);
  EXPECT_TRUE(r.cookies.empty());
  EXPECT_LE(r.pageSizes.size(), huge.size() / 4);

  // A cookie count of 2^31 - 1: the records would start past the end.
  std::string page = EncodeBinaryCookiePage({Cookie("a.test", "n", "/", "v")});
  PutLE32(page, 4, 0x7fffffff);
  EXPECT_TRUE(ReadBytes(FileOfPages({page})).cookies.empty());

  // A page count larger than the pages present: the pages there are read.
  std::string more = BuildBinaryCookieFile({{Cookie("a.test", "n", "/", "v")}});
  const std::string tail = more.substr(12);
  std::string withTable = std::string("cook\0\0\0\x03", 8) + std::string(more.substr(8, 4)) + std::string(8, '\0') + tail;
  Read m = ReadBytes(withTable);
  ASSERT_EQ(m.cookies.size(), 1u);
  EXPECT_EQ(m.pageSizes.size(), 3u);
}

TEST(BinaryCookieEdgeCases, TruncatedFilesListOnlyWhatIsThere) {
  auto bytes = ReadFileBytes(TestData(k2014File));
  ASSERT_TRUE(bytes.ok());
  std::size_t previous = 0;
  // Every length over the first pages, then a sample through the rest.
  for (std::size_t length = 0; length <= bytes->size(); length += length < 1024 ? 1 : 13) {
    Read r = ReadBytes(std::string_view(*bytes).substr(0, length));
    EXPECT_GE(r.cookies.size(), previous) << length;  // a longer prefix never lists fewer
    EXPECT_LE(r.cookies.size(), 91u);
    for (const auto& c : r.cookies) EXPECT_LT(c->cookieStartOffSet, length);
    previous = r.cookies.size();
  }
  EXPECT_EQ(ReadBytes(*bytes).cookies.size(), 91u);
}

TEST(BinaryCookieEdgeCases, ExpiryThatIsNoTimeShowsUnknownDate) {
  BinaryCookieRecord c = Cookie("a.test", "n", "/", "v");
  c.expiry = std::numeric_limits<double>::quiet_NaN();
  Read r = ReadBytes(BuildBinaryCookieFile({{c}}));
  ASSERT_EQ(r.cookies.size(), 1u);
  EXPECT_EQ(r.cookies[0]->expiredDate, "Unkown Date");
}

}  // namespace
}  // namespace linvara
