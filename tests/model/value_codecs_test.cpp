#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "model/FileBytes.h"
#include "model/Json.h"
#include "model/Value.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;
using linvara::testing::ReadText;
using linvara::testing::TempDir;
using linvara::testing::TestData;
using linvara::testing::WriteText;

namespace {

std::vector<std::string> Keys(const DictPtr& d) {
  std::vector<std::string> keys;
  for (const auto& [k, v] : *d) keys.push_back(k);
  return keys;
}

std::vector<fs::path> FilesIn(const std::string& folder) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(TestData(folder))) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

TEST(ValueTree, DictionaryKeepsInsertionOrder) {
  auto d = Dictionary::make();
  d->set("zeta", 1);
  d->set("alpha", "a");
  d->set("mid", true);
  d->set("alpha", "b");
  EXPECT_EQ(Keys(d), (std::vector<std::string>{"zeta", "alpha", "mid"}));
  EXPECT_EQ(*d->getString("alpha"), "b");
  EXPECT_TRUE(d->remove("zeta"));
  EXPECT_FALSE(d->remove("zeta"));
  EXPECT_TRUE(d->get("zeta").isNull());
  EXPECT_EQ(Keys(d), (std::vector<std::string>{"alpha", "mid"}));
}

// A Value shares its container, a shallow copy only the nested ones, a deep copy none.
TEST(ValueTree, CopiesAreShallowOrDeep) {
  auto inner = Dictionary::make();
  inner->set("k", "v");
  auto outer = Dictionary::make();
  outer->set("inner", inner);
  outer->set("Title", "A");
  outer->get("inner").asDict()->set("k", "through a value");
  EXPECT_EQ(*inner->getString("k"), "through a value");
  DictPtr shallow = outer->copy();
  DictPtr copyOfCopy = shallow->copy();
  shallow->getDict("inner")->set("k", "through shallow");
  EXPECT_EQ(*inner->getString("k"), "through shallow");
  shallow->set("Title", "changed in the copy");
  shallow->set("Added", 1);
  EXPECT_EQ(*outer->getString("Title"), "A");
  EXPECT_FALSE(outer->contains("Added"));
  EXPECT_EQ(*copyOfCopy->getString("Title"), "A");
  outer->remove("inner");
  EXPECT_TRUE(shallow->contains("inner") && copyOfCopy->contains("inner"));
  outer->clear();
  EXPECT_EQ(copyOfCopy->size(), 2u);
  outer->set("fresh", true);
  EXPECT_FALSE(copyOfCopy->contains("fresh"));
  DictPtr deep = copyOfCopy->deepCopy();
  deep->getDict("inner")->set("k", "deep only");
  EXPECT_EQ(*inner->getString("k"), "through shallow");
}

TEST(ValueTree, EqualityIsExact) {
  const Value xy = ParseJson(R"({"x":1,"y":2})").value();
  EXPECT_FALSE(xy == ParseJson(R"({"y":2,"x":1})").value()) << "key order is part of a record";
  EXPECT_FALSE(Value(1) == Value(1.0)) << "integer and real differ";
  EXPECT_FALSE(Value(true) == Value(1));
  EXPECT_TRUE(xy == Value(xy.asDict()->deepCopy()));
}

// Key order, value types and exact integers are checked against the strict parser below; the real
// Chromium files are written back by ChromeWorkingCopy.NothingRemovedWritesTheFileAsReadWithRootsAsAnObject.
TEST(JsonCodec, WrittenTextReadsBackAsTheSameTree) {
  const auto read = ParseJson(R"({"z":1,"a":1.5,"u":18446744073709551615,"t":true,"n":null,"s":"收藏 é"})");
  ASSERT_TRUE(read) << read.error();
  const std::string out = SerializeJson(*read);
  const auto back = ParseJson(out);
  ASSERT_TRUE(back);
  EXPECT_TRUE(*back == *read);
  EXPECT_NE(out.find("收藏 é"), std::string::npos) << "non-ASCII text is written as UTF-8";
  EXPECT_NE(out.find("\n   \"z\""), std::string::npos) << "three-space indent";
}

// The reference: a standard strict parser's document, as a Value.
Value FromReference(const nlohmann::ordered_json& j) {
  using T = nlohmann::ordered_json::value_t;
  switch (j.type()) {
    case T::boolean: return Value(j.get<bool>());
    case T::number_integer: return Value(Integer{j.get<std::int64_t>(), false});
    case T::number_unsigned: {
      const auto u = j.get<std::uint64_t>();
      return Value(Integer{static_cast<std::int64_t>(u), u > static_cast<std::uint64_t>(INT64_MAX)});
    }
    case T::number_float: return Value(j.get<double>());
    case T::string: return Value(j.get<std::string>());
    case T::array: {
      auto array = Array::make();
      for (const auto& item : j) array->append(FromReference(item));
      return array;
    }
    case T::object: {
      auto dict = Dictionary::make();
      for (const auto& [key, item] : j.items()) dict->set(key, FromReference(item));
      return dict;
    }
    default: return Value();
  }
}

// Accepts and rejects what a standard strict parser does, with the same tree.
TEST(JsonCodec, ReadsAsAStandardStrictParser) {
  std::vector<std::string> texts = {
      "", " ", "\xef\xbb\xbf{}", "\xef\xbb{}", "{}", "[]", " [ 1 ,\n\t2 ]\r", "[1,]", "{\"a\":1,}", "{\"a\" 1}",
      "{'single': 1}", "{\"roots\": ", "[01]", "[-0]", "[-0.0]", "[1.]", "[.5]", "[1.25e5]", "[1E+2]", "[1e-400]",
      "[1e400]", "[-]", "[+1]", "[18446744073709551615]", "[18446744073709551616]", "[-9223372036854775808]",
      "[-9223372036854775809]", "[9223372036854775808]", "[true,false,null]", "[tru]", "[nul]", "[True]",
      R"("\u00e9\/\b\f\n\r\t\"\\")", R"("\ud83d\ude00")", R"(["\ud800"])", R"("\ude00")", R"("\ud83d\u0041")",
      R"("\u12")", R"("\x")", "\"tab\tinside\"", R"("nul\u0000")", "\"caf\xc3\xa9 \xe7\xbb\xb4 \xf0\x9f\x98\x80\"",
      "\"\xc0\xaf\"", "\"\xed\xa0\x80\"", "\"\xf4\x90\x80\x80\"", "\"\xe2\x82\"", "{\"a\":\"\xff\"}", "\"unterminated",
      R"({"a":1,"a":2,"b":3})", "[1] 2", "{\"k\":[{\"x\":{},\"y\":[[]]}]}", "\x7f", std::string("[\"a\0b\"]", 7),
      std::string("[1]\0", 4)};
  for (const auto& file : FilesIn("chromium_bookmarks")) texts.push_back(ReadText(file));
  for (const std::string& text : texts) {
    const auto reference = nlohmann::ordered_json::parse(text, nullptr, /*allow_exceptions=*/false);
    const auto parsed = ParseJson(text);
    ASSERT_EQ(parsed.ok(), !reference.is_discarded()) << text.substr(0, 80);
    if (parsed) EXPECT_TRUE(*parsed == FromReference(reference)) << text.substr(0, 80);
    else EXPECT_EQ(parsed.errorKind(), ErrorKind::Malformed);
  }
}

// Nesting past the limit reads as null instead of overflowing the stack.
TEST(JsonCodec, NestingBeyondTheLimitReadsAsNull) {
  auto nested = [](int depth) { return std::string(depth, '[') + "1" + std::string(depth, ']'); };
  auto innermost = [](Value v) {
    while (v.isArray() && !v.asArray()->empty()) v = v.asArray()->at(0);
    return v;
  };
  auto atLimit = ParseJson(nested(2048));
  ASSERT_TRUE(atLimit.ok());
  EXPECT_EQ(innermost(*atLimit).asInt(), 1);
  auto deeper = ParseJson(nested(100000));
  ASSERT_TRUE(deeper.ok());
  EXPECT_TRUE(innermost(*deeper).isNull());
}

// A stray byte and a lone high surrogate are checked through the Chromium reader.
TEST(JsonCodec, ReplacingParserReadsInvalidTextAsReplacementCharacters) {
  const std::string kFffd = "\xEF\xBF\xBD";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"cut \xE2\x82", "cut " + kFffd},         // one for the whole cut-off sequence
      {"\xC0\xAF", kFffd + kFffd},              // overlong form: each byte
      {"\xED\xA0\x80", kFffd + kFffd + kFffd},  // a surrogate encoded in UTF-8
      {"\\udc00", kFffd},                       // lone low surrogate escape
      {"\\ud83d\\ude00", "\xF0\x9F\x98\x80"},   // a pair stays
      {"\\\\ud800", "\\ud800"},                 // an escaped backslash, no escape
      {"caf\xC3\xA9", "caf\xC3\xA9"},
  };
  for (const auto& [inside, expected] : cases) {
    SCOPED_TRACE(inside);
    auto parsed = ParseJsonReplacingInvalidText("{\"k\":\"" + inside + "\"}");
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed->asDict()->getString("k").value_or("(null)"), expected);
  }
}

TEST(FileBytes, RegularFileIsReadWhole) {
  TempDir dir;
  const std::string text = std::string(70000, 'a') + "end";
  WriteText(dir / "file", text);
  fs::create_symlink(dir / "file", dir / "link");
  EXPECT_EQ(ReadFileBytes(dir / "file").valueOr(""), text);
  EXPECT_EQ(ReadFileBytes(dir / "link").valueOr(""), text) << "links are followed";
  WriteText(dir / "empty", "");
  for (const char* name : {"file", "link", "empty"}) {
    auto buffer = ReadFileBuffer(dir / name);
    ASSERT_TRUE(buffer.ok()) << name;
    EXPECT_EQ(buffer->view(), ReadFileBytes(dir / name).valueOr("?")) << name;
  }
}

// Only regular files within the limit are read; a FIFO or a device returns at once.
TEST(FileBytes, AnythingElseIsRefusedWithItsKind) {
  TempDir dir;
  WriteText(dir / "large", std::string(2048, 'x'));
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir / "zero");
  fs::create_symlink(dir / "gone", dir / "dangling");
  fs::create_directories(dir / "folder");
  const std::vector<std::pair<fs::path, ErrorKind>> cases = {
      {dir / "missing", ErrorKind::NotFound},     {dir / "dangling", ErrorKind::NotFound},
      {dir / "fifo", ErrorKind::Unreadable},      {dir / "zero", ErrorKind::Unreadable},
      {dir / "folder", ErrorKind::Unreadable},    {dir / "large", ErrorKind::Unreadable},
  };
  for (const auto& [path, kind] : cases) {
    SCOPED_TRACE(path.filename().string());
    auto bytes = ReadFileBytes(path, 1024);
    ASSERT_FALSE(bytes.ok());
    EXPECT_EQ(bytes.errorKind(), kind) << bytes.error();
    auto buffer = ReadFileBuffer(path, 1024);
    ASSERT_FALSE(buffer.ok());
    EXPECT_EQ(buffer.errorKind(), kind);
  }
  EXPECT_TRUE(ReadFileBytes(dir / "large", 2048).ok()) << "the limit itself is allowed";
}
