// Strict JSON straight into a Value tree: one pass over the text, no
// recursion, no intermediate document. It accepts exactly what a strict
// standard parser accepts (an optional UTF-8 byte order mark, UTF-8 text, no
// comments, no trailing commas, finite numbers).
#include <locale.h>
#include <stdlib.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/Json.h"

namespace linvara {
namespace {

constexpr std::size_t kMaxDepth = 2048;

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : at_(text.data()), end_(text.data() + text.size()) {}

  bool Parse(Value& result);

 private:
  enum class Kind : char { Object, Array };
  // A container being built; containers beyond kMaxDepth are only checked.
  // Frames are kept for reuse, so their lists keep their capacity and each
  // finished container gets one list of exactly its size.
  struct Frame {
    Kind kind = Kind::Array;
    std::vector<Dictionary::Entry> entries;
    std::vector<Value> items;
    std::string key;
  };

  void SkipSpace() {
    while (at_ < end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t')) ++at_;
  }
  bool Consume(char c) {
    SkipSpace();
    if (at_ == end_ || *at_ != c) return false;
    ++at_;
    return true;
  }
  bool Literal(const char* word, Value value, Value& out) {
    const std::size_t length = std::strlen(word);
    if (static_cast<std::size_t>(end_ - at_) < length || std::memcmp(at_, word, length) != 0) return false;
    at_ += length;
    out = std::move(value);
    return true;
  }
  bool String(std::string& out);
  bool Escape(std::string& out);
  bool Hex4(std::uint32_t& code);
  bool Number(Value& out);
  bool Scalar(Value& out);
  void Open(Kind kind);
  Value Close();
  void Put(Value value, Value& result);

  const char* at_;
  const char* end_;
  std::vector<Kind> open_;     // every open container, checked or built
  std::vector<Frame> frames_;  // the built ones are the first `built_`
  std::size_t built_ = 0;
};

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xc0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3f));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xe0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (code & 0x3f));
  } else {
    out += static_cast<char>(0xf0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (code & 0x3f));
  }
}

// Length of the well-formed UTF-8 sequence at `p` (lead byte 0x80 or above), 0 when there is none.
std::size_t Utf8Length(const unsigned char* p, const unsigned char* end) {
  const unsigned char lead = p[0];
  std::size_t length;
  unsigned char low = 0x80, high = 0xbf;  // range of the second byte
  if (lead >= 0xc2 && lead <= 0xdf) length = 2;
  else if (lead == 0xe0) length = 3, low = 0xa0;
  else if (lead >= 0xe1 && lead <= 0xef) length = 3, high = lead == 0xed ? 0x9f : 0xbf;
  else if (lead == 0xf0) length = 4, low = 0x90;
  else if (lead >= 0xf1 && lead <= 0xf3) length = 4;
  else if (lead == 0xf4) length = 4, high = 0x8f;
  else return 0;
  if (static_cast<std::size_t>(end - p) < length || p[1] < low || p[1] > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (p[i] < 0x80 || p[i] > 0xbf) return 0;
  return length;
}

bool JsonParser::Hex4(std::uint32_t& code) {
  if (end_ - at_ < 4) return false;
  code = 0;
  for (int i = 0; i < 4; ++i) {
    const char c = *at_++;
    code <<= 4;
    if (c >= '0' && c <= '9') code |= static_cast<std::uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f') code |= static_cast<std::uint32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') code |= static_cast<std::uint32_t>(c - 'A' + 10);
    else return false;
  }
  return true;
}

// After the backslash.
bool JsonParser::Escape(std::string& out) {
  if (at_ == end_) return false;
  switch (*at_++) {
    case '"': out += '"'; return true;
    case '\\': out += '\\'; return true;
    case '/': out += '/'; return true;
    case 'b': out += '\b'; return true;
    case 'f': out += '\f'; return true;
    case 'n': out += '\n'; return true;
    case 'r': out += '\r'; return true;
    case 't': out += '\t'; return true;
    case 'u': break;
    default: return false;
  }
  std::uint32_t code = 0;
  if (!Hex4(code)) return false;
  if (code >= 0xdc00 && code <= 0xdfff) return false;  // a low surrogate without its high one
  if (code >= 0xd800 && code <= 0xdbff) {
    std::uint32_t low = 0;
    if (end_ - at_ < 2 || at_[0] != '\\' || at_[1] != 'u') return false;
    at_ += 2;
    if (!Hex4(low) || low < 0xdc00 || low > 0xdfff) return false;
    code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
  }
  AppendUtf8(out, code);
  return true;
}

// At the opening quote.
bool JsonParser::String(std::string& out) {
  if (at_ == end_ || *at_ != '"') return false;
  const char* start = ++at_;
  // Plain ASCII up to the closing quote needs no copy but the final one.
  while (at_ < end_) {
    const auto c = static_cast<unsigned char>(*at_);
    if (c == '"') {
      out.assign(start, at_++);
      return true;
    }
    if (c == '\\' || c < 0x20 || c >= 0x80) break;
    ++at_;
  }
  out.assign(start, at_);
  while (at_ < end_) {
    const auto c = static_cast<unsigned char>(*at_);
    if (c == '"') {
      ++at_;
      return true;
    }
    if (c < 0x20) return false;
    if (c == '\\') {
      ++at_;
      if (!Escape(out)) return false;
    } else if (c >= 0x80) {
      const std::size_t length = Utf8Length(reinterpret_cast<const unsigned char*>(at_),
                                             reinterpret_cast<const unsigned char*>(end_));
      if (length == 0) return false;
      out.append(at_, length);
      at_ += length;
    } else {
      out += static_cast<char>(c);
      ++at_;
    }
  }
  return false;
}

bool JsonParser::Number(Value& out) {
  const char* start = at_;
  const bool negative = at_ < end_ && *at_ == '-';
  if (negative) ++at_;
  auto digits = [&] {
    const char* from = at_;
    while (at_ < end_ && *at_ >= '0' && *at_ <= '9') ++at_;
    return at_ - from;
  };
  if (at_ == end_) return false;
  if (*at_ == '0') ++at_;
  else if (digits() == 0) return false;
  bool integral = true;
  if (at_ < end_ && *at_ == '.') {
    ++at_;
    if (digits() == 0) return false;
    integral = false;
  }
  if (at_ < end_ && (*at_ == 'e' || *at_ == 'E')) {
    ++at_;
    if (at_ < end_ && (*at_ == '+' || *at_ == '-')) ++at_;
    if (digits() == 0) return false;
    integral = false;
  }
  const std::string token(start, at_);
  if (integral) {
    errno = 0;
    if (negative) {
      const long long value = std::strtoll(token.c_str(), nullptr, 10);
      if (errno == 0) {
        out = Value(Integer{value, false});
        return true;
      }
    } else {
      const unsigned long long value = std::strtoull(token.c_str(), nullptr, 10);
      if (errno == 0) {
        out = Value(Integer{static_cast<std::int64_t>(value), value > static_cast<unsigned long long>(INT64_MAX)});
        return true;
      }
    }
  }
  // A fraction, an exponent, or an integer too large for 64 bits.
  static const locale_t kPlainC = newlocale(LC_ALL_MASK, "C", nullptr);
  const double value = strtod_l(token.c_str(), nullptr, kPlainC);
  if (!std::isfinite(value)) return false;
  out = Value(value);
  return true;
}

bool JsonParser::Scalar(Value& out) {
  if (at_ == end_) return false;
  switch (*at_) {
    case '"': {
      std::string text;
      if (!String(text)) return false;
      out = Value(std::move(text));
      return true;
    }
    case 't': return Literal("true", Value(true), out);
    case 'f': return Literal("false", Value(false), out);
    case 'n': return Literal("null", Value(), out);
    default: return Number(out);
  }
}

void JsonParser::Open(Kind kind) {
  open_.push_back(kind);
  if (open_.size() > kMaxDepth) return;
  if (frames_.size() == built_) frames_.emplace_back();
  Frame& frame = frames_[built_++];
  frame.kind = kind;
  frame.entries.clear();
  frame.items.clear();
}

// The closed container's value: null for one beyond kMaxDepth.
Value JsonParser::Close() {
  const bool built = open_.size() <= kMaxDepth;
  open_.pop_back();
  if (!built) return Value();
  Frame& frame = frames_[--built_];
  if (frame.kind == Kind::Object)
    return Value(Dictionary::FromEntries(std::vector<Dictionary::Entry>(std::make_move_iterator(frame.entries.begin()),
                                                                       std::make_move_iterator(frame.entries.end()))));
  auto array = Array::make();
  array->items().assign(std::make_move_iterator(frame.items.begin()), std::make_move_iterator(frame.items.end()));
  return Value(std::move(array));
}

void JsonParser::Put(Value value, Value& result) {
  // Inside a container that is only checked, values are dropped; its own null
  // goes to its father when it closes.
  if (open_.size() > kMaxDepth) return;
  if (built_ == 0) {
    result = std::move(value);
    return;
  }
  Frame& top = frames_[built_ - 1];
  if (top.kind == Kind::Array) {
    top.items.push_back(std::move(value));
    return;
  }
  // A key given twice keeps its first place and its last value.
  for (auto& [key, existing] : top.entries) {
    if (key == top.key) {
      existing = std::move(value);
      return;
    }
  }
  top.entries.emplace_back(std::move(top.key), std::move(value));
}

bool JsonParser::Parse(Value& result) {
  // A UTF-8 byte order mark may come first.
  if (at_ < end_ && static_cast<unsigned char>(*at_) == 0xef) {
    if (end_ - at_ < 3 || static_cast<unsigned char>(at_[1]) != 0xbb || static_cast<unsigned char>(at_[2]) != 0xbf)
      return false;
    at_ += 3;
  }
  enum class Step { Value, Key, AfterValue };
  Step step = Step::Value;
  for (;;) {
    switch (step) {
      case Step::Value: {
        SkipSpace();
        if (at_ == end_) return false;
        if (*at_ == '{' || *at_ == '[') {
          const Kind kind = *at_ == '{' ? Kind::Object : Kind::Array;
          ++at_;
          Open(kind);
          SkipSpace();
          if (at_ < end_ && *at_ == (kind == Kind::Object ? '}' : ']')) {
            ++at_;
            Put(Close(), result);
            step = Step::AfterValue;
          } else {
            step = kind == Kind::Object ? Step::Key : Step::Value;
          }
          break;
        }
        Value scalar;
        if (!Scalar(scalar)) return false;
        Put(std::move(scalar), result);
        step = Step::AfterValue;
        break;
      }
      case Step::Key: {
        SkipSpace();
        std::string key;
        if (!String(key) || !Consume(':')) return false;
        if (open_.size() <= kMaxDepth) frames_[built_ - 1].key = std::move(key);
        step = Step::Value;
        break;
      }
      case Step::AfterValue: {
        SkipSpace();
        // A NUL byte ends the text, as it does for the standard parser.
        if (open_.empty()) return at_ == end_ || *at_ == '\0';
        if (at_ == end_) return false;
        const Kind kind = open_.back();
        const char c = *at_++;
        if (c == ',') {
          step = kind == Kind::Object ? Step::Key : Step::Value;
        } else if (c == (kind == Kind::Object ? '}' : ']')) {
          Put(Close(), result);
        } else {
          return false;
        }
        break;
      }
    }
  }
}

}  // namespace

Result<Value> ParseJson(std::string_view text) {
  Value result;
  if (!JsonParser(text).Parse(result)) return Fail("not valid JSON", ErrorKind::Malformed);
  return result;
}

}  // namespace linvara
