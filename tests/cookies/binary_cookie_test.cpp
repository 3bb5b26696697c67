#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "CookieTestSupport.h"
#include "cookies/BinaryCookieFile.h"
#include "model/FileBytes.h"

namespace linvara {
namespace {

using namespace testing;
using Strings = std::vector<std::string>;

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
  return {std::move(domain), std::move(name), std::move(path), std::move(value), flags};
}

void PutLE32(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

std::uint32_t BE32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return v;
}

const std::string kGoodRecord = EncodeBinaryCookieRecord(Cookie("good.test", "g", "/", "w"));

// One page: the given (damaged) record, then a good one.
Read ReadBadThenGood(const std::string& bad) {
  return ReadBytes(BuildBinaryCookieFileOfPages({EncodeBinaryCookiePageOfRecords({bad, kGoodRecord})}));
}

// ---- Real files ----

TEST(BinaryCookieRealFiles, The2014FileListsAll91CookiesOf29Pages) {
  ScopedTimeZone utc("UTC");
  Read r = ReadPath(TestData(kSafari2014));
  ASSERT_EQ(r.cookies.size(), 91u);
  ASSERT_EQ(r.pageSizes.size(), 29u);
  EXPECT_EQ(r.pageSizes[0], 118);
  EXPECT_EQ(r.pageSizes[3], 305);

  // This file stores name, value, domain, path: each string is read from its own offset.
  const PRCookFileNode& first = *r.cookies.front();
  EXPECT_EQ(Fields(first), (Strings{"en.wikipedia.org", "centralnotice_bucket", "/", "0-4.2", "NO", "07-15-2013 17:24"}));
  EXPECT_EQ(first.cookieStartOffSet, 8u + 4 * 29 + 12 + 4 * 1);
  EXPECT_EQ(first.cookieLength, 102);
  EXPECT_FALSE(first.hasExpired);
  auto hostNameSecureAt = [](const PRCookFileNode& c) {
    return std::tuple(*c.fileHost, *c.fileName, c.secureValue, c.cookieStartOffSet);
  };
  // Flags 5 (secure and HttpOnly), then flags 4 (HttpOnly only).
  EXPECT_EQ(hostNameSecureAt(*r.cookies[1]), std::tuple("accounts.google.com", "GAPS", "YES", 258u));
  EXPECT_EQ(hostNameSecureAt(*r.cookies.back()), std::tuple(".facebook.com", "datr", "NO", 12388u));
  EXPECT_EQ(r.cookies.back()->fileValue, "lCvbUQXonPPHoWPg0eTq8Ktx");

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
  Read r = ReadPath(TestData(kSafari2017));
  ASSERT_EQ(r.cookies.size(), 2u);
  EXPECT_EQ(r.pageSizes, (std::vector<std::int32_t>{144, 140}));
  EXPECT_EQ(Fields(*r.cookies[0]), (Strings{".ycombinator.com", "__cfduid", "/",
                                            "df18e79ede20f18e7c846380faf82b1341513466557", "NO", "12-16-2018 23:22"}));
  EXPECT_EQ(Fields(*r.cookies[1]), (Strings{"news.ycombinator.com", "user", "/",
                                            "zellyn&EdK9mzRM38fGtIZQTiqCyAeWg93RDjdo", "YES", "01-17-2038 19:14"}));
  EXPECT_EQ(r.cookies[0]->cookieStartOffSet, 32u);
  EXPECT_EQ(r.cookies[1]->cookieStartOffSet, 176u);
}

TEST(BinaryCookieRealFiles, StoredChecksumIsTheSumOfEveryFourthPageByte) {
  for (const char* name : {kSafari2014, kSafari2017}) {
    auto bytes = ReadFileBytes(TestData(name));
    ASSERT_TRUE(bytes.ok());
    const std::string& b = *bytes;
    const std::vector<std::int32_t> pageSizes = ReadBytes(b).pageSizes;
    std::size_t at = 8 + 4 * pageSizes.size();
    std::uint32_t sum = 0;
    for (const std::int32_t size : pageSizes) {
      sum += BinaryCookiePageChecksum(std::string_view(b).substr(at, size));
      at += size;
    }
    EXPECT_EQ(BE32(b, at), sum) << name;
    EXPECT_EQ(BE32(b, at + 4), 0x07172005u) << name;
  }
}

TEST(BinaryCookieRealFiles, AppendsToTheListAndLeavesItAloneForAMissingFile) {
  Read r{{7}, {std::make_shared<PRCookFileNode>()}};
  ReadCookBinaryFileWithPath("/nonexistent/Cookies.binarycookies", r.pageSizes, r.cookies);
  EXPECT_EQ(r.cookies.size(), 1u);
  EXPECT_EQ(r.pageSizes, std::vector<std::int32_t>{7});
  ReadCookBinaryFileWithPath(TestData(kSafari2017), r.pageSizes, r.cookies);
  EXPECT_EQ(r.cookies.size(), 3u);
  EXPECT_EQ(r.pageSizes.size(), 2u);
}

// ---- Written files ----

TEST(BinaryCookieWriter, RoundTripsEveryFieldThroughTheReader) {
  ScopedTimeZone utc("UTC");
  BinaryCookieRecord a = Cookie(".example.com", "sid", "/account", "abc=def", 1), noTime = Cookie("t.test", "", "", "");
  a.expiry = 566695357.0;
  noTime.expiry = std::numeric_limits<double>::quiet_NaN();
  Read r = ReadBytes(BuildBinaryCookieFile(
      {{a, Cookie("example.org", "pref", "/", "", 4)}, {}, {Cookie("x.test", "n", "/p", "v", 5), noTime}}));
  ASSERT_EQ(r.cookies.size(), 4u);
  EXPECT_EQ(r.pageSizes.size(), 3u);
  // Bit 0 of the flags marks secure.
  EXPECT_EQ(Fields(*r.cookies[0]), (Strings{".example.com", "sid", "/account", "abc=def", "YES", "12-16-2018 23:22"}));
  EXPECT_EQ(Fields(*r.cookies[1]), (Strings{"example.org", "pref", "/", "", "NO", "<unset>"}));  // expiry 0: none
  EXPECT_EQ(Fields(*r.cookies[2]), (Strings{"x.test", "n", "/p", "v", "YES", "<unset>"}));
  EXPECT_EQ(r.cookies[3]->expiredDate, "Unkown Date");  // an expiry that is no time
}

TEST(BinaryCookieWriter, SampleCookiesResourceIsAnEmptyValidFile) {
  const std::string_view sample = SampleCookiesBytes();
  EXPECT_EQ(sample, BuildBinaryCookieFile({}));
  auto resource = ReadFileBytes(std::filesystem::path(LINVARA_SOURCE_DIR) / "resources" / "samplecookies");
  ASSERT_TRUE(resource.ok());
  EXPECT_EQ(*resource, sample);
  EXPECT_TRUE(ReadBytes(sample).cookies.empty());
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

// Records start after both headers (the real files above check the offsets of whole pages).
TEST(BinaryCookieEdgeCases, AZeroCookiePageTakesTwelveBytes) {
  const std::string empty = EncodeBinaryCookiePage({});
  ASSERT_EQ(empty.size(), 12u);
  Read r = ReadBytes(BuildBinaryCookieFileOfPages({empty, EncodeBinaryCookiePage({Cookie("a.test", "n", "/", "v")})}));
  ASSERT_EQ(r.cookies.size(), 1u);
  EXPECT_EQ(r.cookies[0]->fileHost, "a.test");
  EXPECT_EQ(r.cookies[0]->cookieStartOffSet, 8u + 8 + 12 + 12 + 4);
}

TEST(BinaryCookieEdgeCases, DamagedRecordsAreSkippedAndTheNextOneRead) {
  const std::string record = EncodeBinaryCookieRecord(Cookie("bad.test", "n", "/", "v"));
  std::vector<std::string> damaged;
  // A string offset outside the record, for each of the four strings.
  for (std::size_t field : {16u, 20u, 24u, 28u})
    for (std::uint32_t badOffset : {0u, 55u, 0xffffffffu, static_cast<std::uint32_t>(record.size())}) {
      damaged.push_back(record);
      PutLE32(damaged.back(), field, badOffset);
    }
  // A record too small for its own header.
  damaged.emplace_back(40, '\0');
  PutLE32(damaged.back(), 0, 40);
  for (const std::string& bad : damaged) {
    Read r = ReadBadThenGood(bad);
    ASSERT_EQ(r.cookies.size(), 1u) << &bad - damaged.data();
    EXPECT_EQ(r.cookies[0]->fileHost, "good.test");
    EXPECT_EQ(r.cookies[0]->cookieStartOffSet, 8u + 4 + 12 + 8 + bad.size());
  }
}

TEST(BinaryCookieEdgeCases, StringsAreReadInWhateverOrderTheyAreStored) {
  BinaryCookieRecord c = Cookie("host.test", "theName", "/some/path", "the value");
  int permutations = 0;
  do {
    Read r = ReadBytes(BuildBinaryCookieFile({{c}}));
    ASSERT_EQ(r.cookies.size(), 1u);
    EXPECT_EQ(Fields(*r.cookies[0]), (Strings{"host.test", "theName", "/some/path", "the value", "NO", "<unset>"}));
    ++permutations;
  } while (std::next_permutation(c.order.begin(), c.order.end()));
  EXPECT_EQ(permutations, 24);
}

TEST(BinaryCookieEdgeCases, EmptyAndInvalidStringsStillListTheCookie) {
  Read r = ReadBytes(BuildBinaryCookieFile({{Cookie("a.test", "n", "/", ""), Cookie("", "", "", ""),
                                             Cookie("bad\xff\xfehost", "name", "/", "caf\xc3\xa9")}}));
  ASSERT_EQ(r.cookies.size(), 3u);
  EXPECT_EQ(r.cookies[0]->fileValue, "");  // a value of one NUL
  EXPECT_EQ(Fields(*r.cookies[1]), (Strings{"", "", "", "", "NO", "<unset>"}));
  // Invalid UTF-8 gives an empty string; valid text next to it is kept.
  EXPECT_EQ(Fields(*r.cookies[2]), (Strings{"", "name", "/", "caf\xc3\xa9", "NO", "<unset>"}));
}

TEST(BinaryCookieEdgeCases, AStringWithoutNulStopsAtTheRecordsEnd) {
  // The value is the last string; drop its NUL and shrink the record by one.
  std::string first = EncodeBinaryCookieRecord(Cookie("a.test", "n", "/", "VALUE"));
  first.pop_back();
  PutLE32(first, 0, static_cast<std::uint32_t>(first.size()));
  Read r = ReadBadThenGood(first);
  ASSERT_EQ(r.cookies.size(), 2u);
  EXPECT_EQ(r.cookies[0]->fileValue, "VALUE");  // not running into the next record
  EXPECT_EQ(r.cookies[1]->fileHost, "good.test");
}

TEST(BinaryCookieEdgeCases, ASizeThatDoesNotMoveForwardEndsOnlyItsPage) {
  const std::string last = EncodeBinaryCookieRecord(Cookie("next.page", "n", "/", "v"));
  for (std::uint32_t size : {0u, 0x80000000u, 0xffffffffu}) {
    std::string stuck = EncodeBinaryCookieRecord(Cookie("a.test", "n", "/", "v"));
    PutLE32(stuck, 0, size);
    std::string file = BuildBinaryCookieFileOfPages(
        {EncodeBinaryCookiePageOfRecords({kGoodRecord, stuck, kGoodRecord}), EncodeBinaryCookiePageOfRecords({last})});
    Read r = ReadBytes(file);
    // The record before it, then the next page where the header's sizes put it.
    ASSERT_EQ(r.cookies.size(), 2u) << size;
    EXPECT_EQ(r.cookies[1]->fileHost, "next.page");
    // A page table pointing back into the broken page leaves no next page.
    file.replace(8, 4, std::string("\0\0\0\x0c", 4));
    EXPECT_EQ(ReadBytes(file).cookies.size(), 1u) << size;
  }
}

TEST(BinaryCookieLayout, OnlyPagesThatFitTheFileMakeACookieFile) {
  auto real = ReadFileBytes(TestData(kSafari2014));
  ASSERT_TRUE(real.ok());
  const std::string written = BuildBinaryCookieFile({{Cookie("a.test", "n", "/", "v")}, {}});
  auto damaged = [&](std::size_t at, std::string_view bytes) {
    return std::string(written).replace(at, bytes.size(), bytes);
  };
  const std::vector<std::pair<std::string, bool>> files{
      {*real, true},
      {*ReadFileBytes(TestData(kSafari2017)), true},  // with a trailing property list
      {std::string(SampleCookiesBytes()), true},
      {"cookbook: flour, eggs, butter and a pinch of salt", false},
      {"cook", false},
      {real->substr(0, real->size() / 2), false},           // pages cut off
      {damaged(8, std::string("\0\0\0\x0b", 4)), false},  // a page too small for its header
      {damaged(16, "XXXX"), false},                         // page header word
      {damaged(20, std::string("\x7f\0\0\0", 4)), false},  // a cookie count the page cannot hold
      {damaged(24, std::string("\xff\0\0\0", 4)), false},  // a record offset outside the page
  };
  for (const auto& [bytes, consistent] : files)
    EXPECT_EQ(IsBinaryCookieLayoutConsistent(bytes), consistent) << bytes.substr(0, 24);
}

TEST(BinaryCookieEdgeCases, CountsLargerThanTheFileAllowAreCapped) {
  // A page count of 2^31 - 1 in a file of a few bytes: nothing past the end is walked.
  const std::string file = BuildBinaryCookieFile({{Cookie("a.test", "n", "/", "v")}});
  std::string huge = file;
  huge.replace(4, 4, "\x7f\xff\xff\xff");
  Read r = ReadBytes(huge);
  EXPECT_TRUE(r.cookies.empty());
  EXPECT_LE(r.pageSizes.size(), huge.size() / 4);

  // A cookie count of 2^31 - 1: the records would start past the end.
  std::string page = EncodeBinaryCookiePage({Cookie("a.test", "n", "/", "v")});
  PutLE32(page, 4, 0x7fffffff);
  EXPECT_TRUE(ReadBytes(BuildBinaryCookieFileOfPages({page})).cookies.empty());

  // A page count larger than the pages present: the pages there are read.
  Read m = ReadBytes(std::string("cook\0\0\0\x03", 8) + file.substr(8, 4) + std::string(8, '\0') + file.substr(12));
  ASSERT_EQ(m.cookies.size(), 1u);
  EXPECT_EQ(m.pageSizes.size(), 3u);
}

TEST(BinaryCookieEdgeCases, TruncatedFilesListOnlyWhatIsThere) {
  auto bytes = ReadFileBytes(TestData(kSafari2014));
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

}  // namespace
}  // namespace linvara
