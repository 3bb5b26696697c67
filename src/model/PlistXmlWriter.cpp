// The XML property-list writer: one pass over the tree into one string, in
// the layout libplist's plist_to_xml gives (tab indents, base64 data lines
// narrowed by the indent, integers signed, reals with 17 significant digits,
// dates in whole seconds).
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include "model/PlistXml.h"
#include "model/PropertyList.h"

namespace linvara {
namespace {

constexpr std::string_view kProlog =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n";
constexpr std::string_view kEpilog = "</plist>\n";

// The characters a text cannot hold as they are, and NUL, where a text ends.
constexpr auto kMarkup = [] {
  std::array<bool, 256> table{};
  table['<'] = table['>'] = table['&'] = table[0] = true;
  return table;
}();

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

class XmlWriter {
 public:
  explicit XmlWriter(std::string& out) : out_(out) {}

  // False when the value writes nothing (null, or nested too deep).
  bool Write(const Value& v, std::size_t depth) {
    if (depth > kMaxPropertyListNesting) return false;
    switch (v.type()) {
      case Value::Type::Null:
        return false;
      case Value::Type::Boolean:
        Indent(depth);
        out_ += *v.asBool() ? "<true/>\n" : "<false/>\n";
        return true;
      case Value::Type::Integer:
        WriteInteger(*v.asInteger(), depth);
        return true;
      case Value::Type::Real:
        Indent(depth);
        out_ += "<real>";
        WriteReal(*v.asNumber());
        out_ += "</real>\n";
        return true;
      case Value::Type::String:
        WriteText(false, *v.asString(), depth);
        return true;
      case Value::Type::Date:
        WriteDate(v.asDate()->secondsSince2001, depth);
        return true;
      case Value::Type::Data:
        WriteData(*v.asData(), depth);
        return true;
      case Value::Type::Array:
        WriteContainer("array", depth, [&] {
          bool any = false;
          for (const Value& item : *v.asArray()) any |= Write(item, depth + 1);
          return any;
        });
        return true;
      case Value::Type::Dictionary:
        WriteContainer("dict", depth, [&] {
          bool any = false;
          for (const auto& [key, item] : *v.asDict()) {
            if (item.isNull() || depth + 1 > kMaxPropertyListNesting) continue;
            WriteText(true, key, depth + 1);
            any |= Write(item, depth + 1);
          }
          return any;
        });
        return true;
    }
    return false;
  }

 private:
  void Indent(std::size_t depth) { out_.append(depth, '\t'); }

  // A <key> or <string>, its text as a C string holds it (up to the first NUL);
  // runs without markup characters are copied whole.
  void WriteText(bool key, std::string_view text, std::size_t depth) {
    Indent(depth);
    out_ += key ? std::string_view("<key>") : std::string_view("<string>");
    std::size_t from = 0, i = 0;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      if (!kMarkup[static_cast<unsigned char>(c)]) continue;
      if (c == '\0') break;
      out_.append(text, from, i - from);
      out_ += c == '<' ? std::string_view("&lt;") : c == '>' ? std::string_view("&gt;") : std::string_view("&amp;");
      from = i + 1;
    }
    out_.append(text, from, i - from);
    out_ += key ? std::string_view("</key>\n") : std::string_view("</string>\n");
  }

  void WriteInteger(const Integer& i, std::size_t depth) {
    char digits[24];
    const int n = i.isUnsigned ? std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(i.value))
                               : std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(i.value));
    const std::string_view number(digits, static_cast<std::size_t>(n));
    Indent(depth);
    if (!i.isUnsigned) {
      out_ += "<integer>";
      out_ += number;
      out_ += "</integer>\n";
      return;
    }
    // A keyed-archive reference: a dictionary of one "CF$UID" integer.
    out_ += "<dict>\n";
    Indent(depth + 1);
    out_ += "<key>CF$UID</key>\n";
    Indent(depth + 1);
    out_ += "<integer>";
    out_ += number;
    out_ += "</integer>\n";
    Indent(depth);
    out_ += "</dict>\n";
  }

  void WriteReal(double d) {
    if (std::isnan(d)) {
      out_ += "nan";
    } else if (std::isinf(d)) {
      out_ += d > 0 ? "+infinity" : "-infinity";
    } else if (d == 0.0) {
      out_ += "0.0";
    } else {
      char text[40];
      const int n = std::snprintf(text, sizeof text, "%.17g", d);
      for (int i = 0; i < n; ++i) {
        if (text[i] == ',') text[i] = '.';  // a locale's decimal comma
      }
      out_.append(text, static_cast<std::size_t>(n));
    }
  }

  // Whole seconds, cut toward zero, after the split into seconds and
  // microseconds that the binary form stores.
  void WriteDate(double secondsSince2001, std::size_t depth) {
    constexpr double kLow = std::numeric_limits<std::int32_t>::min(), kHigh = std::numeric_limits<std::int32_t>::max();
    double whole = std::floor(secondsSince2001);
    long long micro = std::llround((secondsSince2001 - whole) * 1e6);
    if (!(whole >= kLow)) whole = kLow, micro = 0;  // also NaN
    if (whole > kHigh) whole = kHigh, micro = 0;
    if (micro >= 1000000) micro -= 1000000, whole += 1;
    const double stored = whole + static_cast<double>(micro) / 1e6;
    const std::time_t unix = static_cast<std::time_t>(static_cast<long long>(stored)) + 978307200;
    std::tm utc{};
    gmtime_r(&unix, &utc);
    char text[40];
    const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900,
                                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    Indent(depth);
    out_ += "<date>";
    out_.append(text, static_cast<std::size_t>(n));
    out_ += "</date>\n";
  }

  // Base64 lines of at most 76 columns, a tab counted as eight, the indent at most eight tabs.
  void WriteData(const Bytes& bytes, std::size_t depth) {
    const std::size_t indent = depth > 8 ? 8 : depth;
    const std::size_t perLine = ((76 - indent * 8) / 4) * 3;
    Indent(depth);
    out_ += "<data>\n";
    out_.reserve(out_.size() + bytes.size() / 3 * 4 + (bytes.size() / perLine + 1) * (indent + 6) + depth + 8);
    for (std::size_t at = 0; at < bytes.size(); at += perLine) {
      Indent(indent);
      const std::size_t end = std::min(bytes.size(), at + perLine);
      std::size_t i = at;
      for (; i + 3 <= end; i += 3) {
        const unsigned triple = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        const char quad[4] = {kBase64[triple >> 18], kBase64[(triple >> 12) & 63], kBase64[(triple >> 6) & 63],
                              kBase64[triple & 63]};
        out_.append(quad, 4);
      }
      if (i < end) {
        const unsigned first = bytes[i], second = i + 1 < end ? bytes[i + 1] : 0;
        const unsigned triple = (first << 16) | (second << 8);
        const char quad[4] = {kBase64[triple >> 18], kBase64[(triple >> 12) & 63],
                              i + 1 < end ? kBase64[(triple >> 6) & 63] : '=', '='};
        out_.append(quad, 4);
      }
      out_ += '\n';
    }
    Indent(depth);
    out_ += "</data>\n";
  }

  // `<tag/>` when nothing inside writes anything.
  template <class Children>
  void WriteContainer(std::string_view tag, std::size_t depth, Children&& children) {
    Indent(depth);
    const std::size_t open = out_.size();
    out_ += '<';
    out_ += tag;
    out_ += ">\n";
    if (children()) {
      Indent(depth);
      out_ += "</";
      out_ += tag;
      out_ += ">\n";
    } else {
      out_.resize(open);
      out_ += '<';
      out_ += tag;
      out_ += "/>\n";
    }
  }

  std::string& out_;
};

// A first guess of the text's size, so that it grows rarely.
std::size_t SizeHint(const Value& v, std::size_t depth) {
  if (depth > 64) return 0;
  if (const ArrayPtr array = v.asArray()) {
    std::size_t total = 16 + 2 * depth;
    for (const Value& item : *array) total += SizeHint(item, depth + 1);
    return total;
  }
  if (const DictPtr dict = v.asDict()) {
    std::size_t total = 16 + 2 * depth;
    for (const auto& [key, item] : *dict) total += key.size() + 12 + depth + SizeHint(item, depth + 1);
    return total;
  }
  if (const std::string* s = v.asString()) return s->size() + 20 + depth;
  if (const Bytes* b = v.asData()) return b->size() * 4 / 3 + 32 + depth;
  return 32 + depth;
}

}  // namespace

Result<std::string> SerializePropertyListXml(const Value& root) {
  std::string out;
  out.reserve(kProlog.size() + kEpilog.size() + SizeHint(root, 0));
  out += kProlog;
  if (!XmlWriter(out).Write(root, 0)) return Fail("nothing to write");
  out += kEpilog;
  return out;
}

}  // namespace linvara
