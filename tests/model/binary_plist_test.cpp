// The binary property-list reader against libplist and on damaged input; dates through the writer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "model/PropertyList.h"
#include "profile/BookmarkTree.h"
#include "profile/SafariBookmarksFile.h"
#include "support/LibplistComparison.h"
#include "support/TestSupport.h"

namespace linvara {
namespace {

std::string BigEndian(std::uint64_t v, std::size_t width) {
  std::string out;
  for (std::size_t i = width; i-- > 0;) out.push_back(static_cast<char>(i < 8 ? (v >> (8 * i)) & 0xFF : 0));
  return out;
}

// Objects encoded one by one; Build lays out the table and trailer.
class Bplist {
 public:
  explicit Bplist(std::size_t refSize = 1) : refSize_(refSize) {}

  std::size_t Add(std::string object) {
    objects_.push_back(std::move(object));
    return objects_.size() - 1;
  }
  // A marker with its count, in the low bits or as an integer object after it.
  static std::string Head(int type, std::uint64_t count) {
    if (count < 15) return std::string(1, static_cast<char>(type << 4 | count));
    return std::string(1, static_cast<char>(type << 4 | 0xF)) + "\x13" + BigEndian(count, 8);
  }
  std::size_t Int(std::uint64_t v, int log2Width) {
    return Add(std::string(1, static_cast<char>(0x10 | log2Width)) + BigEndian(v, std::size_t{1} << log2Width));
  }
  std::size_t Ascii(const std::string& s) { return Add(Head(0x5, s.size()) + s); }
  std::size_t Utf16(const std::u16string& s) {
    std::string out = Head(0x6, s.size());
    for (char16_t unit : s) out += BigEndian(unit, 2);
    return Add(out);
  }
  // Marker 0x22 a 4-byte real, 0x23 an 8-byte real, 0x33 a date.
  std::size_t Real(double d, char marker = 0x23) {
    const float f = static_cast<float>(d);
    std::uint64_t bits = 0;
    marker == 0x22 ? std::memcpy(&bits, &f, 4) : std::memcpy(&bits, &d, 8);
    return Add(marker + BigEndian(bits, marker == 0x22 ? 4 : 8));
  }
  std::size_t Uid(std::uint64_t v, std::size_t width) {
    return Add(std::string(1, static_cast<char>(0x80 | (width - 1))) + BigEndian(v, width));
  }
  std::size_t Container(int type, const std::vector<std::size_t>& refs, std::uint64_t count) {
    std::string out = Head(type, count);
    for (std::size_t r : refs) out += BigEndian(r, refSize_);
    return Add(out);
  }
  std::size_t Array(const std::vector<std::size_t>& refs) { return Container(0xA, refs, refs.size()); }
  std::size_t Dict(const std::vector<std::size_t>& keys, const std::vector<std::size_t>& values) {
    std::vector<std::size_t> refs = keys;
    refs.insert(refs.end(), values.begin(), values.end());
    return Container(0xD, refs, keys.size());
  }

  std::string Build(std::size_t top, std::size_t offsetSize = 4) const {
    std::string out = "bplist00", table;
    for (const std::string& object : objects_) {
      table += BigEndian(out.size(), offsetSize);
      out += object;
    }
    return out + table + std::string(6, '\0') + static_cast<char>(offsetSize) + static_cast<char>(refSize_) +
           BigEndian(objects_.size(), 8) + BigEndian(top, 8) + BigEndian(out.size(), 8);
  }

 private:
  std::size_t refSize_;
  std::vector<std::string> objects_;
};

// Every value type, each integer width, UTF-16 text with pairs and lone surrogates, nesting and a shared key.
std::string EveryType(std::size_t refSize) {
  Bplist b(refSize);
  std::vector<std::size_t> items = {b.Int(7, 0), b.Int(0xBEEF, 1), b.Int(0xDEADBEEF, 2), b.Int(~std::uint64_t{41}, 3),
                                    b.Int(1234, 4), b.Real(-2.5), b.Real(0.1, 0x22), b.Real(631152000.123456, 0x33),
                                    b.Real(-1.75, 0x33), b.Real(1e12, 0x33), b.Real(std::nan(""), 0x33), b.Add("\x08"), b.Add("\x09"),
                                    b.Add("\x43\x00\x01\xff"), b.Ascii(""), b.Ascii("caf\xc3\xa9"),
                                    b.Utf16(u"收藏夹 \U0001F600"), b.Utf16(std::u16string(u"a\xD800" u"b\xDC00" u"c\xD800")),
                                    b.Utf16(std::u16string(u"\xD800\xD800\xDC00" u"d\xDC00")),
                                    b.Utf16(std::u16string(u"e\0f", 3)), b.Ascii(std::string("g\0h", 3)),
                                    b.Uid(5, 1), b.Uid(0x1234, 2), b.Uid(0x12345678, 4)};
  const std::size_t key = b.Ascii("k");
  const std::size_t inner = b.Dict({key}, {b.Array({})});
  items.push_back(b.Dict({key, b.Utf16(u"ключ"), key}, {inner, b.Ascii("v"), b.Int(2, 0)}));  // "k" twice
  items.push_back(b.Array({inner, inner}));
  std::vector<std::size_t> many;
  for (int i = 0; i < 20; ++i) many.push_back(b.Ascii("item " + std::to_string(i)));
  items.push_back(b.Array(many));  // a count past the marker's low bits
  return b.Build(b.Array(items));
}

TEST(BinaryPropertyList, ReadsWhatLibplistReads) {
  std::vector<std::pair<std::string, std::string>> files;
  for (std::size_t offsetSize = 2; offsetSize <= 8; ++offsetSize) {
    Bplist small(1);
    small.Array({small.Ascii("a"), small.Dict({small.Ascii("k")}, {small.Int(1, 0)})});
    files.emplace_back("offsets of " + std::to_string(offsetSize), small.Build(2, offsetSize));
  }
  Bplist tiny(1);
  tiny.Array({tiny.Ascii("one byte")});
  files.emplace_back("offsets of 1", tiny.Build(1, 1));
  for (std::size_t refSize : {1, 2})
    files.emplace_back("every type, references of " + std::to_string(refSize), EveryType(refSize));
  for (const auto& file : std::filesystem::directory_iterator(testing::TestData("safari_bookmarks")))
    files.emplace_back(file.path().filename().string(), testing::ReadText(file.path()));
  testing::TempDir dir;
  ASSERT_TRUE(profile::WriteSafariBookmarks(dir / "Bookmarks.plist",
                                            profile::FoldersOfBookmarks(3000, 30, [](int folder, int index) {
                                              return profile::Leaf("Bookmark " + std::to_string(index),
                                                                   "https://example.com/" + std::to_string(folder));
                                            })));
  files.emplace_back("generated 3,000 bookmarks", testing::ReadText(dir / "Bookmarks.plist"));
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    auto ours = ParsePropertyList(bytes);
    ASSERT_TRUE(ours) << ours.error();
    EXPECT_EQ(testing::DifferenceFromLibplist(bytes, *ours), "");
  }
}

TEST(BinaryPropertyList, RefusesDamagedInputNamingTheFault) {
  Bplist good(1);
  good.Array({good.Ascii("a"), good.Int(1, 0)});
  const std::string valid = good.Build(2);
  const std::size_t trailer = valid.size() - 32;
  auto patched = [&](std::size_t at, const std::string& bytes) { return valid.substr(0, at) + bytes + valid.substr(at + bytes.size()); };
  auto object = [](auto build) {
    Bplist b(1);
    return b.Build(build(b));
  };
  Bplist deep(2);
  for (std::size_t i = 1; i <= 2049; ++i) deep.Array({i});
  deep.Array({});
  Bplist doubling(1);
  for (std::size_t i = 1; i < 40; ++i) doubling.Array({i, i});
  doubling.Array({});
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"trailer", valid.substr(0, 30)},
      {"trailer", valid.substr(0, valid.size() - 1)},
      {"offset or reference sizes", patched(trailer + 6, std::string(1, '\0'))},
      {"offset or reference sizes", patched(trailer + 7, "\x09")},
      {"no objects", patched(trailer + 8, BigEndian(0, 8))},
      {"top object", patched(trailer + 16, BigEndian(3, 8))},
      {"offset table", patched(trailer + 24, BigEndian(trailer + 1, 8))},
      {"offset table", patched(trailer + 8, BigEndian(~std::uint64_t{0} / 2, 8))},
      {"object offset", patched(trailer - 12, BigEndian(trailer - 12, 4))},
      {"object offset", patched(trailer - 12, BigEndian(3, 4))},
      {"reference", object([](Bplist& b) { return b.Array({5}); })},
      {"refers to itself", object([](Bplist& b) { return b.Array({0}); })},
      {"nested deeper than 2048", deep.Build(0)},
      {"expands beyond its size", doubling.Build(0)},
      {"container count", object([](Bplist& b) { return b.Container(0xA, {}, ~std::uint64_t{0}); })},
      {"container count", object([](Bplist& b) { return b.Container(0xD, {0}, 1); })},
      {"runs past", object([](Bplist& b) { return b.Add(Bplist::Head(0x5, ~std::uint64_t{0} / 2) + "abc"); })},
      {"runs past", object([](Bplist& b) { return b.Add(Bplist::Head(0x6, 3) + "ab"); })},
      {"malformed count", object([](Bplist& b) { return b.Add("\x5F\x23" + std::string(8, 'x')); })},
      {"integer has a wrong size", object([](Bplist& b) { return b.Add("\x15" + std::string(32, '\0')); })},
      {"real has a wrong size", object([](Bplist& b) { return b.Add("\x21xy"); })},
      {"date has a wrong size", object([](Bplist& b) { return b.Add("\x32xyzw"); })},
      {"unknown type", object([](Bplist& b) { return b.Add(std::string(1, '\0')); })},
      {"unknown type", object([](Bplist& b) { return b.Add("\x70"); })},
      {"key is not a string", object([](Bplist& b) { return b.Dict({b.Int(1, 0)}, {b.Int(1, 0)}); })},
      {"key holds a NUL", object([](Bplist& b) { return b.Dict({b.Ascii(std::string("a\0", 2))}, {b.Int(1, 0)}); })},
  };
  for (const auto& [fault, bytes] : damaged) {
    SCOPED_TRACE(fault);
    auto r = ParsePropertyList(bytes);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errorKind(), ErrorKind::Malformed);
    EXPECT_NE(r.error().find(fault), std::string::npos) << r.error();
  }
  Bplist limit(2);
  for (std::size_t i = 1; i < 2048; ++i) limit.Array({i});
  limit.Array({});
  EXPECT_TRUE(ParsePropertyList(limit.Build(0)).ok()) << "2048 levels are allowed";
}

// The XML form keeps whole seconds (see the XML writer test); the binary form keeps the microseconds.
TEST(BinaryPropertyList, WrittenDatesKeepTheirMicroseconds) {
  auto dates = linvara::Array::make();
  dates->append(Date{631152000.25});
  auto back = ParsePropertyList(SerializePropertyListBinary(Value(dates)).value());
  ASSERT_TRUE(back) << back.error();
  EXPECT_EQ(*back, Value(dates));
}

// Under the sanitizers this shows that no damage makes the reader step outside the bytes.
TEST(BinaryPropertyList, EveryTruncationAndByteChangeIsRefusedOrReadAsLibplistReads) {
  const std::string valid = EveryType(1);
  std::size_t read = 0;
  auto check = [&](const std::string& bytes) {
    auto ours = ParsePropertyList(bytes);
    if (!ours) {
      EXPECT_EQ(ours.errorKind(), ErrorKind::Malformed);
      return;
    }
    ++read;
    EXPECT_EQ(testing::DifferenceFromLibplist(bytes, *ours), "");
  };
  for (std::size_t length = 8; length < valid.size(); ++length) check(valid.substr(0, length));
  for (std::size_t at = 8; at < valid.size(); ++at)
    for (int value : {0x00, 0x01, 0x0F, 0x10, 0x7F, 0x80, 0xFF}) {
      std::string changed = valid;
      changed[at] = static_cast<char>(value);
      if (changed != valid) check(changed);
    }
  EXPECT_GT(read, 100u) << "most changes inside values still read";
}

}  // namespace
}  // namespace linvara
