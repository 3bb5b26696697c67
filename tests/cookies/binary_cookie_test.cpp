#include <gtest/gtest.h>

#include <algorithm>
#include <random>

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

BinaryCookieRecord Cookie(std::string domain, std::string name = "n", std::string path = "/", std::string value = "v",
                          std::uint32_t flags = 0) {
  return {std::move(domain), std::move(name), std::move(path), std::move(value), flags};
}

void PutLE32(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

std::string RealBytes(const char* name) {
  auto bytes = ReadFileBytes(TestData(name));
  EXPECT_TRUE(bytes.ok()) << name;
  return bytes.ok() ? *bytes : "";
}

const std::string kGoodRecord = EncodeBinaryCookieRecord(Cookie("good.test"));

// One page: the given (damaged) record, then a good one.
Read ReadBadThenGood(const std::string& bad) {
  return ReadBytes(BuildBinaryCookieFileOfPages({EncodeBinaryCookiePageOfRecords({bad, kGoodRecord})}));
}

TEST(BinaryCookieRealFiles, The2014FileListsAll91CookiesOf29Pages) {
  ScopedTimeZone utc("UTC");
  Read r = ReadBytes(RealBytes(kSafari2014));
  ASSERT_EQ(r.cookies.size(), 91u);
  ASSERT_EQ(r.pageSizes.size(), 29u);
  EXPECT_EQ(std::tuple(r.pageSizes[0], r.pageSizes[3]), std::tuple(118, 305));

  // This file stores name, value, domain, path: each string is read from its own offset.
  const PRCookFileNode& first = *r.cookies.front();
  EXPECT_EQ(Fields(first), (Strings{"en.wikipedia.org", "centralnotice_bucket", "/", "0-4.2", "NO", "07-15-2013 17:24"}));
  EXPECT_EQ(std::tuple(first.cookieStartOffSet, first.cookieLength, first.hasExpired),
            std::tuple(8u + 4 * 29 + 12 + 4 * 1, 102, false));
  auto hostNameSecureAt = [](const PRCookFileNode& c) {
    return std::tuple(*c.fileHost, *c.fileName, c.secureValue, c.cookieStartOffSet);
  };
  // Flags 5 (secure and HttpOnly), then flags 4 (HttpOnly only).
  EXPECT_EQ(hostNameSecureAt(*r.cookies[1]), std::tuple("accounts.google.com", "GAPS", "YES", 258u));
  EXPECT_EQ(hostNameSecureAt(*r.cookies.back()), std::tuple(".facebook.com", "datr", "NO", 12388u));
  EXPECT_EQ(r.cookies.back()->fileValue, "lCvbUQXonPPHoWPg0eTq8Ktx");
  // Only the records with flags 1 and 5 are secure.
  EXPECT_EQ(std::count_if(r.cookies.begin(), r.cookies.end(), [](auto& c) { return c->secureValue == "YES"; }), 2);
}

TEST(BinaryCookieRealFiles, StoredChecksumIsTheSumOfEveryFourthPageByte) {
  for (const char* name : {kSafari2014, kSafari2017}) {
    const std::string bytes = RealBytes(name);
    const std::vector<std::int32_t> pageSizes = ReadBytes(bytes).pageSizes;
    std::size_t at = 8 + 4 * pageSizes.size();
    std::uint32_t sum = 0;
    for (const std::int32_t size : pageSizes) {
      sum += BinaryCookiePageChecksum(std::string_view(bytes).substr(at, size));
      at += size;
    }
    // Big-endian, then the end marker.
    EXPECT_EQ(bytes.substr(at, 8), (std::string{char(sum >> 24), char(sum >> 16), char(sum >> 8), char(sum),
                                                '\x07', '\x17', '\x20', '\x05'}))
        << name;
  }
}

// The 2017 file's fields are checked with the command line's cookie listing.
TEST(BinaryCookieRealFiles, ReadingAppendsToTheList) {
  Read r{{7}, {std::make_shared<PRCookFileNode>()}};
  ReadCookBinaryFileWithPath("/nonexistent/Cookies.binarycookies", r.pageSizes, r.cookies);  // changes nothing
  EXPECT_EQ(r.pageSizes, std::vector<std::int32_t>{7});
  ReadCookBinaryFileWithPath(TestData(kSafari2017), r.pageSizes, r.cookies);
  EXPECT_EQ(r.cookies.size(), 3u);  // its trailing property list adds nothing
  EXPECT_EQ(r.pageSizes, (std::vector<std::int32_t>{144, 140}));  // replaced, not appended to
}

TEST(BinaryCookieWriter, RoundTripsEveryFieldThroughTheReader) {
  ScopedTimeZone utc("UTC");
  BinaryCookieRecord a = Cookie(".example.com", "sid", "/account", "abc=def", 1), noTime = Cookie("", "", "", "");
  a.expiry = 566695357.0;
  noTime.expiry = std::numeric_limits<double>::quiet_NaN();
  Read r = ReadBytes(BuildBinaryCookieFile({{a, Cookie("example.org", "pref", "/", "", 4)},
                                            {},
                                            {Cookie("x.test", "n", "/p", "v", 5), noTime,
                                             Cookie("bad\xff\xfehost", "name", "/", "caf\xc3\xa9")}}));
  ASSERT_EQ(r.cookies.size(), 5u);
  // Bit 0 of the flags marks secure; expiry 0 is no date; a value of one NUL is empty, not unset.
  EXPECT_EQ(Fields(*r.cookies[0]), (Strings{".example.com", "sid", "/account", "abc=def", "YES", "12-16-2018 23:22"}));
  EXPECT_EQ(Fields(*r.cookies[1]), (Strings{"example.org", "pref", "/", "", "NO", "<unset>"}));
  EXPECT_EQ(Fields(*r.cookies[2]), (Strings{"x.test", "n", "/p", "v", "YES", "<unset>"}));
  EXPECT_EQ(Fields(*r.cookies[3]), (Strings{"", "", "", "", "NO", "Unkown Date"}));  // an expiry that is no time
  // Invalid UTF-8 gives an empty string; valid text next to it is kept.
  EXPECT_EQ(Fields(*r.cookies[4]), (Strings{"", "name", "/", "caf\xc3\xa9", "NO", "<unset>"}));
  // A page without cookies takes twelve bytes; the records behind it start after both page headers.
  EXPECT_EQ(r.pageSizes[1], 12);
  EXPECT_EQ(r.cookies[2]->cookieStartOffSet, 8u + 4 * 3 + r.pageSizes[0] + 12 + 4 + 4 + 4 * 3 + 4);
}

TEST(BinaryCookieWriter, SampleCookiesResourceIsAnEmptyValidFile) {
  const std::string_view sample = SampleCookiesBytes();
  EXPECT_EQ(sample, BuildBinaryCookieFile({}));
  auto resource = ReadFileBytes(std::filesystem::path(LINVARA_SOURCE_DIR) / "resources" / "samplecookies");
  ASSERT_TRUE(resource.ok());
  EXPECT_EQ(*resource, sample);
}

TEST(BinaryCookieEdgeCases, DamagedRecordsAreSkipped) {
  const std::string record = EncodeBinaryCookieRecord(Cookie("bad.test"));
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
  do {  // all 24 orders
    Read r = ReadBytes(BuildBinaryCookieFile({{c}}));
    ASSERT_EQ(r.cookies.size(), 1u);
    EXPECT_EQ(Fields(*r.cookies[0]), (Strings{"host.test", "theName", "/some/path", "the value", "NO", "<unset>"}));
  } while (std::next_permutation(c.order.begin(), c.order.end()));
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
  const std::string last = EncodeBinaryCookieRecord(Cookie("next.page"));
  for (std::uint32_t size : {0u, 0x80000000u, 0xffffffffu}) {
    std::string stuck = EncodeBinaryCookieRecord(Cookie("a.test"));
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
  const std::string real = RealBytes(kSafari2014);
  const std::string written = BuildBinaryCookieFile({{Cookie("a.test")}, {}});
  auto damaged = [&](std::size_t at, std::string_view bytes) {
    return std::string(written).replace(at, bytes.size(), bytes);
  };
  const std::vector<std::pair<std::string, bool>> files{
      {real, true},
      {RealBytes(kSafari2017), true},  // with a trailing property list
      {std::string(SampleCookiesBytes()), true},
      {"cookbook: flour, eggs, butter and a pinch of salt", false},
      {"cook", false},
      {real.substr(0, real.size() / 2), false},             // pages cut off
      {damaged(8, std::string("\0\0\0\x0b", 4)), false},  // a page too small for its header
      {damaged(16, "XXXX"), false},                         // page header word
      {damaged(20, std::string("\x7f\0\0\0", 4)), false},  // a cookie count the page cannot hold
      {damaged(24, std::string("\xff\0\0\0", 4)), false},  // a record offset outside the page
  };
  for (const auto& [bytes, consistent] : files)
    EXPECT_EQ(IsBinaryCookieLayoutConsistent(bytes), consistent) << bytes.substr(0, 24);
}

TEST(BinaryCookieEdgeCases, CountsLargerThanTheFileAllowAreCapped) {
  const std::string file = BuildBinaryCookieFile({{Cookie("a.test")}});
  std::string page = EncodeBinaryCookiePage({Cookie("a.test")});
  PutLE32(page, 4, 0x7fffffff);
  // Headers that promise more than the bytes hold list nothing and walk nothing past the end.
  for (const std::string& bytes : {std::string(), std::string("co"), std::string("cook\0\0\0\0", 8),
                                   std::string("cook\x80\0\0\0", 8),                     // a negative page count
                                   std::string(file).replace(4, 4, "\x7f\xff\xff\xff"),  // 2^31 - 1 pages
                                   BuildBinaryCookieFileOfPages({page})}) {           // 2^31 - 1 cookies
    Read r = ReadBytes(bytes);
    EXPECT_TRUE(r.cookies.empty()) << bytes.size();
    EXPECT_LE(r.pageSizes.size(), bytes.size() / 4);
  }
  // A page count larger than the pages present: the pages there are read.
  Read m = ReadBytes(std::string("cook\0\0\0\x03", 8) + file.substr(8, 4) + std::string(8, '\0') + file.substr(12));
  ASSERT_EQ(m.cookies.size(), 1u);
  EXPECT_EQ(m.pageSizes.size(), 3u);
}

TEST(BinaryCookieEdgeCases, TruncatedFilesListOnlyWhatIsThere) {
  const std::string bytes = RealBytes(kSafari2014);
  std::size_t previous = 0;
  // Every length over the first pages, then a sample through the rest.
  for (std::size_t length = 0; length <= bytes.size(); length += length < 1024 ? 1 : 13) {
    Read r = ReadBytes(std::string_view(bytes).substr(0, length));
    EXPECT_GE(r.cookies.size(), previous) << length;  // a longer prefix never lists fewer
    for (const auto& c : r.cookies) EXPECT_LT(c->cookieStartOffSet, length);
    previous = r.cookies.size();
  }
}

// Damaged and random files: every read stays inside its buffer (run under the sanitizer build,
// -DLINVARA_SANITIZE=ON) and lists only records that lie in the file.
void ReadAndCheckEntriesInside(std::string_view bytes) {
  std::vector<std::int32_t> pages;
  CookieList cookies;
  ReadCookBinaryBytes(bytes, pages, cookies);
  EXPECT_LE(pages.size(), bytes.size() / 4 + 1);
  (void)IsBinaryCookieLayoutConsistent(bytes);  // the layout check stays inside the buffer too
  for (const auto& c : cookies) {
    ASSERT_LT(c->cookieStartOffSet, bytes.size());
    ASSERT_GT(c->cookieLength, 56);
    for (const auto* text : {&c->fileHost, &c->fileName, &c->filePath, &c->fileValue}) {
      ASSERT_TRUE(text->has_value());
      ASSERT_LT((*text)->size(), static_cast<std::size_t>(c->cookieLength));
    }
  }
}

TEST(BinaryCookieRobustness, RandomOrDamagedFilesAreReadInsideTheirBytes) {
  std::mt19937 noise(20240501);
  for (int round = 0; round < 3000; ++round) {  // random bytes behind the magic
    std::string bytes = "cook";
    const std::size_t length = noise() % 600;
    for (std::size_t i = 0; i < length; ++i) bytes.push_back(static_cast<char>(noise() & 0xff));
    // Small counts now and then, so pages and records are actually walked.
    if (bytes.size() >= 8 && round % 2 == 0) bytes[4] = bytes[5] = bytes[6] = 0, bytes[7] = static_cast<char>(noise() % 4);
    ReadAndCheckEntriesInside(bytes);
  }
  for (const char* name : {kSafari2014, kSafari2017}) {
    auto original = ReadFileBytes(TestData(name));
    ASSERT_TRUE(original.ok());
    std::mt19937 random(7);
    for (int round = 0; round < 1500; ++round) {
      std::string bytes = *original;
      for (int flips = 1 + static_cast<int>(random() % 8); flips > 0; --flips) {
        // Mostly extreme values: they hit the size and offset words hardest.
        static const char kValues[] = {'\x00', '\xff', '\x7f', '\x80', '\x38', '\x01'};
        const std::size_t at = random() % bytes.size();
        bytes[at] = round % 3 == 0 ? static_cast<char>(random() & 0xff) : kValues[random() % sizeof kValues];
      }
      if (round % 5 == 0) bytes.resize(random() % bytes.size());
      ReadAndCheckEntriesInside(bytes);
    }
  }
}

}  // namespace
}  // namespace linvara
