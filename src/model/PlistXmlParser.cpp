// The XML property-list reader: one pass over the text straight into Values,
// with an explicit stack of open containers (no recursion), every read
// bounded by the end of the text. Values are read as libplist reads them:
// integers with C's base prefixes ("0x" hex, a leading 0 octal), whole
// seconds of dates, a second <key> in a row taken as a string value.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <vector>

#include <unicode/utf8.h>

#include "model/PlistXml.h"

namespace linvara {
namespace {

constexpr long long kSecondsFrom1970To2001 = 978307200;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

int Base64Digit(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

// An open array or dictionary.
struct OpenContainer {
  bool isDict = false;
  ArrayPtr array;
  std::vector<Dictionary::Entry> entries;
  std::string key;
  bool hasKey = false;
};

class XmlPlistReader {
 public:
  explicit XmlPlistReader(std::string_view text) : text_(text) {}

  Result<Value> Read() {
    if (std::memchr(text_.data(), '\0', text_.size())) return Refuse("NUL character", text_.find('\0'));
    if (!SkipMarkup(true)) return Error();
    bool wrapped = false;
    if (LooksAt("<plist") && text_.size() > pos_ + 6 &&
        (IsSpace(text_[pos_ + 6]) || text_[pos_ + 6] == '>' || text_[pos_ + 6] == '/')) {
      Tag tag;
      if (!ReadTag(tag)) return Error();
      if (tag.selfClosing) return Refuse("empty <plist> element", tag.at);
      wrapped = true;
      if (!SkipMarkup(false)) return Error();
    }
    Value root;
    if (!ReadValue(root)) return Error();
    if (!SkipMarkup(false)) return Error();
    if (wrapped) {
      if (!LooksAt("</")) return Refuse(pos_ < text_.size() ? "unexpected content in <plist>" : "unclosed <plist>", pos_);
      if (!ReadClosing("plist")) return Error();
      if (!SkipMarkup(false)) return Error();
    }
    if (pos_ < text_.size()) return Refuse("content after the end of the property list", pos_);
    return root;
  }

 private:
  struct Tag {
    std::string_view name;
    bool selfClosing = false;
    std::size_t at = 0;
  };

  Result<Value> Error() const { return Fail(error_, ErrorKind::Malformed); }
  Result<Value> Refuse(const std::string& what, std::size_t at) {
    Note(what, at);
    return Error();
  }
  bool Note(const std::string& what, std::size_t at) {
    if (error_.empty()) error_ = "XML property list: " + what + " at byte " + std::to_string(at);
    return false;
  }

  bool LooksAt(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }

  // Skips white space, comments and (before the top element) the XML
  // declaration and document type.
  bool SkipMarkup(bool prolog) {
    for (;;) {
      while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
      if (LooksAt("<!--")) {
        if (!SkipPast("-->", pos_ + 4, "unclosed comment")) return false;
      } else if (prolog && LooksAt("<?")) {
        if (!SkipPast("?>", pos_ + 2, "unclosed <? declaration")) return false;
      } else if (prolog && LooksAt("<!DOCTYPE")) {
        const std::size_t at = pos_;
        const std::size_t i = EndOfMarkup(pos_ + 9, true);
        if (i >= text_.size()) return Note("unclosed <!DOCTYPE", at);
        pos_ = i + 1;
      } else {
        return true;
      }
    }
  }

  // The position of the '>' that ends markup, from `i` on, past quoted values
  // and (in a document type) bracketed declarations; a tag also ends at a
  // '<', which it cannot hold. The end of the text when there is none.
  std::size_t EndOfMarkup(std::size_t i, bool declarations) const {
    int brackets = 0;
    char quote = 0;
    for (; i < text_.size(); ++i) {
      const char c = text_[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (declarations && (c == '[' || c == ']')) {
        brackets += c == '[' ? 1 : -1;
      } else if ((c == '>' && brackets <= 0) || (c == '<' && !declarations)) {
        break;
      }
    }
    return i;
  }

  bool SkipPast(std::string_view end, std::size_t from, const char* unclosed) {
    const std::size_t at = text_.find(end, from);
    if (at == std::string_view::npos) return Note(unclosed, pos_);
    pos_ = at + end.size();
    return true;
  }

  // An opening tag at pos_: its name, and whether it closes itself. Attributes are skipped.
  bool ReadTag(Tag& tag) {
    tag.at = pos_;
    std::size_t i = pos_ + 1;
    const std::size_t nameStart = i;
    while (i < text_.size() && !IsSpace(text_[i]) && text_[i] != '>' && text_[i] != '/' && text_[i] != '<') ++i;
    tag.name = text_.substr(nameStart, i - nameStart);
    if (tag.name.empty()) return Note("element without a name", tag.at);
    i = EndOfMarkup(i, false);
    if (i >= text_.size() || text_[i] != '>') return Note("unclosed tag <" + std::string(tag.name), tag.at);
    tag.selfClosing = text_[i - 1] == '/';
    pos_ = i + 1;
    return true;
  }

  // "</name>" at pos_, white space allowed before the '>'.
  bool ReadClosing(std::string_view name) {
    const std::size_t at = pos_;
    std::size_t i = pos_ + 2;
    if (text_.substr(i, name.size()) != name) return MismatchAt(at, name);
    i += name.size();
    while (i < text_.size() && IsSpace(text_[i])) ++i;
    if (i >= text_.size() || text_[i] != '>') return MismatchAt(at, name);
    pos_ = i + 1;
    return true;
  }

  bool MismatchAt(std::size_t at, std::string_view expected) {
    std::size_t end = at + 2;
    while (end < text_.size() && end < at + 40 && text_[end] != '>' && !IsSpace(text_[end])) ++end;
    const std::string found(text_.substr(at + 2, end - at - 2));
    return Note("</" + found + "> closes <" + std::string(expected) + ">", at);
  }

  // The text of an element up to its closing tag, with comments left out and
  // CDATA sections taken as they are; with `entities`, character references
  // replaced.
  bool ReadText(std::string_view tag, bool entities, std::string& out) {
    out.clear();
    for (;;) {
      const std::size_t lt = text_.find('<', pos_);
      if (lt == std::string_view::npos) return Note("unclosed <" + std::string(tag) + ">", pos_);
      if (!AppendCharacters(text_.substr(pos_, lt - pos_), entities, out, pos_)) return false;
      pos_ = lt;
      if (LooksAt("</")) return ReadClosing(tag);
      if (LooksAt("<![CDATA[")) {
        const std::size_t end = text_.find("]]>", pos_ + 9);
        if (end == std::string_view::npos) return Note("unclosed CDATA section", pos_);
        out.append(text_, pos_ + 9, end - pos_ - 9);
        pos_ = end + 3;
      } else if (LooksAt("<!--")) {
        if (!SkipPast("-->", pos_ + 4, "unclosed comment")) return false;
      } else {
        return Note("element inside <" + std::string(tag) + ">", pos_);
      }
    }
  }

  bool AppendCharacters(std::string_view chars, bool entities, std::string& out, std::size_t at) {
    if (!entities) {
      out += chars;
      return true;
    }
    std::size_t from = 0;
    for (std::size_t amp; (amp = chars.find('&', from)) != std::string_view::npos;) {
      out.append(chars, from, amp - from);
      const std::size_t semicolon = chars.find(';', amp);
      if (semicolon == std::string_view::npos || semicolon - amp > 12)
        return Note("entity without ';'", at + amp);
      if (!AppendEntity(chars.substr(amp + 1, semicolon - amp - 1), out, at + amp)) return false;
      from = semicolon + 1;
    }
    out.append(chars, from);
    return true;
  }

  bool AppendEntity(std::string_view name, std::string& out, std::size_t at) {
    if (name == "amp") out += '&';
    else if (name == "lt") out += '<';
    else if (name == "gt") out += '>';
    else if (name == "quot") out += '"';
    else if (name == "apos") out += '\'';
    else if (name.size() >= 2 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      std::uint32_t code = 0;
      const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
      if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || code > 0x10FFFF)
        return Note("bad character reference &" + std::string(name) + ";", at);
      if (code == 0) return Note("NUL character reference", at);
      char bytes[4];
      int32_t length = 0;
      U8_APPEND_UNSAFE(bytes, length, code);
      out.append(bytes, static_cast<std::size_t>(length));
    } else {
      return Note("unknown entity &" + std::string(name) + ";", at);
    }
    return true;
  }

  bool ReadInteger(std::string_view text, std::size_t at, Value& out) {
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
      negative = text[0] == '-';
      text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
      base = 16;
      text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '0') {
      base = 8;
    }
    std::uint64_t magnitude = 0;
    if (!text.empty()) {
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
      if (ec != std::errc() || end != text.data() + text.size()) return Note("bad integer", at);
    }
    out = Value(Integer{static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude), false});
    return true;
  }

  bool ReadReal(std::string_view text, std::size_t at, Value& out) {
    text = Trimmed(text);
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    double d = 0;
    if (!text.empty()) {
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
      if (ec != std::errc() || end != text.data() + text.size()) return Note("bad real number", at);
    }
    out = Value(d);
    return true;
  }

  // "YYYY-MM-DDTHH:MM:SSZ", a fraction of a second allowed and dropped.
  bool ReadDate(std::string_view text, std::size_t at, Value& out) {
    text = Trimmed(text);
    const auto number = [&](std::size_t from, std::size_t width, unsigned& value) {
      const char* first = text.data() + from;
      const auto [end, ec] = std::from_chars(first, first + width, value);
      return ec == std::errc() && end == first + width;
    };
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const bool shaped = text.size() >= 20 && text[4] == '-' && text[7] == '-' && text[10] == 'T' &&
                        text[13] == ':' && text[16] == ':' && text.back() == 'Z';
    std::size_t fraction = 19;
    if (shaped && text[19] == '.') {
      for (fraction = 20; fraction < text.size() - 1 && text[fraction] >= '0' && text[fraction] <= '9';) ++fraction;
    }
    if (!shaped || fraction != text.size() - 1 || !number(0, 4, year) || !number(5, 2, month) ||
        !number(8, 2, day) || !number(11, 2, hour) || !number(14, 2, minute) || !number(17, 2, second) ||
        month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
      return Note("bad date", at);
    const long long unix = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    out = Value(Date{static_cast<double>(unix - kSecondsFrom1970To2001)});
    return true;
  }

  bool ReadData(std::string_view text, std::size_t at, Value& out) {
    Bytes bytes;
    bytes.reserve(text.size() / 4 * 3);
    std::uint32_t bits = 0;
    int count = 0, padding = 0;
    for (char c : text) {
      if (IsSpace(c)) continue;
      if (c == '=') {
        ++padding;
        continue;
      }
      const int digit = Base64Digit(c);
      if (digit < 0 || padding) return Note("bad base64 data", at);
      bits = (bits << 6) | static_cast<std::uint32_t>(digit);
      if (++count == 4) {
        bytes.push_back(static_cast<std::uint8_t>(bits >> 16));
        bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
        bytes.push_back(static_cast<std::uint8_t>(bits));
        bits = 0, count = 0;
      }
    }
    if (count == 1 || padding > 2 || (padding && count + padding != 4)) return Note("bad base64 data", at);
    if (count == 2) bytes.push_back(static_cast<std::uint8_t>(bits >> 4));
    if (count == 3) {
      bytes.push_back(static_cast<std::uint8_t>(bits >> 10));
      bytes.push_back(static_cast<std::uint8_t>(bits >> 2));
    }
    out = Value(std::move(bytes));
    return true;
  }

  // A scalar element whose opening tag was just read.
  bool ReadScalar(const Tag& tag, Value& out) {
    const std::string_view name = tag.name;
    const bool textual = name == "string" || name == "key";
    if (tag.selfClosing) {
      if (textual) out = Value(std::string());
      else if (name == "integer") out = Value(Integer{});
      else if (name == "real") out = Value(0.0);
      else if (name == "true" || name == "false") out = Value(name == "true");
      else if (name == "data") out = Value(Bytes{});
      else if (name == "date") out = Value(Date{});
      else return Note("unknown element <" + std::string(name) + ">", tag.at);
      return true;
    }
    const std::size_t at = pos_;
    if (textual) {
      std::string text;
      if (!ReadText(name, true, text)) return false;
      out = Value(std::move(text));
      return true;
    }
    if (name != "integer" && name != "real" && name != "date" && name != "data" && name != "true" && name != "false")
      return Note("unknown element <" + std::string(name) + ">", tag.at);
    if (!ReadText(name, false, scratch_)) return false;
    if (name == "integer") return ReadInteger(scratch_, at, out);
    if (name == "real") return ReadReal(scratch_, at, out);
    if (name == "date") return ReadDate(scratch_, at, out);
    if (name == "data") return ReadData(scratch_, at, out);
    if (!Trimmed(scratch_).empty()) return Note("text inside <" + std::string(name) + ">", at);
    out = Value(name == "true");
    return true;
  }

  static Value Close(OpenContainer& open) {
    if (!open.isDict) return Value(std::move(open.array));
    return Value(Dictionary::FromEntries(std::move(open.entries)));
  }

  // Adds a finished value to the innermost open container.
  bool Add(Value value, std::size_t at) {
    OpenContainer& top = open_.back();
    if (!top.isDict) {
      top.array->append(std::move(value));
      return true;
    }
    if (!top.hasKey) return Note("dictionary value without a <key>", at);
    top.hasKey = false;
    // A repeated key keeps its first place and takes the later value.
    auto same = std::find_if(top.entries.begin(), top.entries.end(), [&](const auto& e) { return e.first == top.key; });
    if (same != top.entries.end()) same->second = std::move(value);
    else top.entries.emplace_back(std::move(top.key), std::move(value));
    return true;
  }

  // One value at pos_ (an element, after any comments), containers read to their end.
  bool ReadValue(Value& root) {
    for (;;) {
      if (!SkipMarkup(false)) return false;
      if (pos_ >= text_.size()) return Note(open_.empty() ? "no value" : "unclosed <" + OpenName() + ">", pos_);
      if (text_[pos_] != '<') return Note("text outside an element", pos_);
      Value value;
      const std::size_t at = pos_;
      if (LooksAt("</")) {
        if (open_.empty()) return Note("closing tag without an element", at);
        if (!ReadClosing(OpenName())) return false;
        if (open_.back().isDict && open_.back().hasKey) return Note("<key> without a value", at);
        value = Close(open_.back());
        open_.pop_back();
      } else {
        Tag tag;
        if (!ReadTag(tag)) return false;
        const bool dict = tag.name == "dict";
        if (dict || tag.name == "array") {
          if (!tag.selfClosing) {
            if (open_.size() >= kMaxPropertyListNesting)
              return Note("nesting deeper than " + std::to_string(kMaxPropertyListNesting) + " levels", at);
            OpenContainer& open = open_.emplace_back();
            open.isDict = dict;
            if (!dict) open.array = Array::make();
            continue;
          }
          value = dict ? Value(Dictionary::make()) : Value(Array::make());
        } else if (tag.name == "key" && !open_.empty() && open_.back().isDict && !open_.back().hasKey) {
          OpenContainer& top = open_.back();
          if (tag.selfClosing) top.key.clear();
          else if (!ReadText("key", true, top.key)) return false;
          top.hasKey = true;
          continue;
        } else if (!ReadScalar(tag, value)) {
          return false;
        }
      }
      if (open_.empty()) {
        root = std::move(value);
        return true;
      }
      if (!Add(std::move(value), at)) return false;
    }
  }

  std::string OpenName() const { return open_.back().isDict ? "dict" : "array"; }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<OpenContainer> open_;
  std::string scratch_;
  std::string error_;
};

}  // namespace

Result<Value> ParsePropertyListXml(std::string_view text) { return XmlPlistReader(text).Read(); }

}  // namespace linvara
