// The XML property-list writer and reader against libplist, which remains the
// binary writer: the same bytes out, the same trees in, damaged text refused.
#include <gtest/gtest.h>
#include <plist/plist.h>

#include <filesystem>
#include <limits>

#include "model/PlistXml.h"
#include "model/PropertyList.h"
#include "support/LibplistComparison.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace linvara;

namespace {

// libplist's XML for the tree, through the binary form.
std::string LibplistXml(const Value& tree) {
  const std::string binary = SerializePropertyListBinary(tree).value();
  plist_t node = nullptr;
  plist_from_bin(binary.data(), static_cast<uint32_t>(binary.size()), &node);
  char* xml = nullptr;
  uint32_t length = 0;
  if (node) {
    plist_to_xml(node, &xml, &length);
    plist_free(node);
  }
  std::string out(xml ? xml : "", length);
  plist_to_xml_free(xml);
  return out;
}

std::string Repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

std::vector<fs::path> RealSafariFiles() {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(linvara::testing::TestData("safari_bookmarks"))) files.push_back(e.path());
  return files;
}

// Every value type, the text escapes, the base64 line widths at each indent.
Value EveryValueType() {
  Bytes bytes(200);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  auto d = Dictionary::make();
  d->set("text", "a & b < c > d \"q\" 'a'");
  d->set("control", "tab\there\x01\x1f\x7f\r\nend");
  d->set("non-ASCII", "Zürich — 收藏夹 ✓ 😀");
  d->set("", "");
  d->set("k&<>", std::string("cut\0off", 7));
  d->set("null is left out", Value());
  for (const std::int64_t i : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{1} << 40, std::numeric_limits<std::int64_t>::min(),
                               std::numeric_limits<std::int64_t>::max()})
    d->set("int " + std::to_string(i), i);
  d->set("reference", Integer{42, true});
  for (const double r : {0.1, -2.5e-300, 3.0, 1e300, -0.0, 123456789.125})
    d->set("real " + std::to_string(r), r);
  for (const double s : {0.0, -100.5, 631152000.25, 700000000.0, 0.9999999})
    d->set("date " + std::to_string(s), Date{s});
  for (const std::size_t n : {0, 1, 2, 3, 57, 200}) d->set("data " + std::to_string(n), Bytes(bytes.begin(), bytes.begin() + n));
  d->set("true", true);
  d->set("false", false);
  d->set("empty dict", Dictionary::make());
  d->set("empty array", Array::make());
  auto onlyNull = Array::make();
  onlyNull->append(Value());
  d->set("array of null", onlyNull);
  Value nested = Value(bytes);
  for (int level = 0; level < 11; ++level) {
    auto array = Array::make();
    array->append(nested);
    array->append(level % 2 ? Value("x") : Value(Dictionary::make()));
    nested = array;
  }
  d->set("nested", nested);
  return Value(d);
}

}  // namespace

TEST(PlistXmlWriter, WritesTheBytesLibplistWrites) {
  std::vector<std::pair<std::string, Value>> trees = {{"every value type", EveryValueType()},
                                                      {"a string alone", Value("top")}};
  for (const fs::path& file : RealSafariFiles())
    trees.emplace_back(file.string(), ReadPropertyListFile(file).value());
  ASSERT_EQ(trees.size(), 5u);
  for (const auto& [name, tree] : trees) {
    SCOPED_TRACE(name);
    EXPECT_EQ(SerializePropertyListXml(tree).value(), LibplistXml(tree));
  }
  EXPECT_FALSE(SerializePropertyListXml(Value()).ok());
}

TEST(PlistXmlReader, ReadsTheTreeLibplistReads) {
  std::vector<std::pair<std::string, std::string>> texts = {
      {"every value type", LibplistXml(EveryValueType())},
      {"comments, CDATA, entities, attributes",
       "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [ <!ENTITY x \"y\"> ]>\n<!-- before -->\n<plist version=\"1.0\">"
       "<dict><!-- a > b --><key>a&apos;b</key><string>x<![CDATA[<&>]]>&quot;&#233;&#x1F600;<!-- c --></string>"
       "<key attr='1'>n</key><integer> -12 </integer><key>h</key><integer>0x1F</integer>"
       "<key>e</key><string/><key>t</key><true></true><key>r</key><real>+infinity</real>"
       "<key>f</key><date>2021-03-04T05:06:07.5Z</date><key>d</key><data>\n\tQUJD\n\tRA==\n</data>"
       "<key>u</key><dict><key>CF$UID</key><integer>3</integer></dict>"
       "<key>dup</key><integer>1</integer><key>dup</key><integer>2</integer></dict></plist>"},
      {"no plist element", "<array><string>a</string><array/></array>"},
      {"a scalar alone", "<plist><integer>7</integer></plist>"},
      {"nested 2048 deep", "<plist>" + Repeated("<array>", 2048) + Repeated("</array>", 2048) + "</plist>"},
  };
  for (const fs::path& file : RealSafariFiles())
    texts.emplace_back(file.string(), LibplistXml(ReadPropertyListFile(file).value()));
  for (const auto& [name, text] : texts) {
    SCOPED_TRACE(name);
    const Result<Value> ours = ParsePropertyList(text);
    ASSERT_TRUE(ours.ok()) << ours.error();
    EXPECT_EQ(linvara::testing::DifferenceFromLibplist(text, *ours), "");
    EXPECT_FALSE(ours->isNull());
  }
}

TEST(PlistXmlReader, RefusesDamagedText) {
  const std::string deep = "<plist>" + Repeated("<array>", 2049);
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"<plist><dict><key>a</key><string>x</string></plist>", "</plist> closes <dict>"},
      {"<plist><dict><key>a</key><string>x", "unclosed <string>"},
      {"<plist><array><string>x</string>", "unclosed <array>"},
      {"<plist><array/>", "unclosed <plist>"},
      {"<plist><dict", "unclosed tag <dict"},
      {"<plist/>", "empty <plist>"},
      {"<plist><array><foo/></array></plist>", "unknown element <foo>"},
      {"<plist><array><blob>1</blob></array></plist>", "unknown element <blob>"},
      {"<plist><string>a<b/></string></plist>", "element inside <string>"},
      {"<plist><data>QUJ@</data></plist>", "bad base64"},
      {"<plist><data>QQ=Q</data></plist>", "bad base64"},
      {"<plist><data>Q</data></plist>", "bad base64"},
      {"<plist><date>2020-13-01T00:00:00Z</date></plist>", "bad date"},
      {"<plist><date>yesterday</date></plist>", "bad date"},
      {"<plist><integer>12a</integer></plist>", "bad integer"},
      {"<plist><integer>99999999999999999999</integer></plist>", "bad integer"},
      {"<plist><integer>09</integer></plist>", "bad integer"},
      {"<plist><real>1.5x</real></plist>", "bad real"},
      {"<plist><true>yes</true></plist>", "text inside <true>"},
      {"<plist><string>a &foo; b</string></plist>", "unknown entity &foo;"},
      {"<plist><string>a &amp b</string></plist>", "entity without ';'"},
      {"<plist><string>&#x110000;</string></plist>", "bad character reference"},
      {"<plist><string>&#12a;</string></plist>", "bad character reference"},
      {"<plist><string>&#x0;</string></plist>", "NUL character reference"},
      {std::string("<plist><string>a\0b</string></plist>", 35), "NUL character"},
      {"<plist><dict><string>x</string></dict></plist>", "without a <key>"},
      {"<plist><dict><key>a</key></dict></plist>", "<key> without a value"},
      {"<plist><array><!-- x </array></plist>", "unclosed comment"},
      {"<plist><string><![CDATA[x</string></plist>", "unclosed CDATA"},
      {"<?xml version=\"1.0\"", "unclosed <? declaration"},
      {"<plist><string>a</string><string>b</string></plist>", "unexpected content in <plist>"},
      {"<plist><array/></plist>trailing", "content after the end"},
      {"plain text", "text outside an element"},
      {"<plist></plist>", "closing tag without an element"},
      {deep, "nesting deeper than 2048 levels"},
  };
  for (const auto& [text, message] : damaged) {
    SCOPED_TRACE(text.substr(0, 80));
    const Result<Value> r = ParsePropertyList(text);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errorKind(), ErrorKind::Malformed);
    EXPECT_NE(r.error().find(message), std::string::npos) << r.error();
  }
}

// A file cut anywhere before its closing tag is refused, and nothing is read past the cut.
TEST(PlistXmlReader, RefusesEveryTruncation) {
  const std::string text = SerializePropertyListXml(EveryValueType()).value();
  const std::size_t closing = text.rfind("</plist>");
  for (std::size_t cut = 1; cut < closing + 8; ++cut) {
    const std::string prefix = text.substr(0, cut);
    EXPECT_FALSE(ParsePropertyListXml(prefix).ok()) << "cut at " << cut;
  }
  EXPECT_TRUE(ParsePropertyListXml(text.substr(0, closing + 8)).ok());
}
