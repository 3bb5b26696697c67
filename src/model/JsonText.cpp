#include "model/JsonText.h"

#include <cstdint>

namespace linvara {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
constexpr std::string_view kReplacementEscape = "\\ufffd";

// Length of the well-formed UTF-8 sequence at `at`, or the negated length of
// its maximal ill-formed part (at least one byte).
int Utf8SequenceAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  if (lead < 0x80) return 1;
  int length = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // range of the first continuation byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return -1;
  }
  for (int i = 1; i < length; ++i) {
    if (at + i >= text.size()) return -i;
    const std::uint8_t next = byte(at + i);
    const std::uint8_t min = i == 1 ? low : 0x80;
    const std::uint8_t max = i == 1 ? high : 0xBF;
    if (next < min || next > max) return -i;
  }
  return length;
}

// The value of four hex digits at `at`, or -1.
int HexQuad(std::string_view text, std::size_t at) {
  if (at + 4 > text.size()) return -1;
  int value = 0;
  for (std::size_t i = at; i < at + 4; ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

bool IsHighSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::optional<std::string> ReplaceInvalidJsonText(std::string_view text) {
  std::string out;
  bool changed = false;
  std::size_t copiedUpTo = 0;  // text before this position is in `out` or unchanged
  auto replace = [&](std::size_t from, std::size_t to, std::string_view with) {
    if (!changed) out.reserve(text.size() + 16);
    changed = true;
    out.append(text.substr(copiedUpTo, from - copiedUpTo));
    out.append(with);
    copiedUpTo = to;
  };
  bool inString = false;
  std::size_t at = 0;
  while (at < text.size()) {
    // ASCII other than a quote or backslash changes nothing, in a string or out of one.
    while (at < text.size() && static_cast<std::uint8_t>(text[at]) < 0x80 && text[at] != '"' && text[at] != '\\') ++at;
    if (at == text.size()) break;
    const char c = text[at];
    if (static_cast<std::uint8_t>(c) >= 0x80) {
      const int length = Utf8SequenceAt(text, at);
      if (length < 0) {
        replace(at, at - length, kReplacementUtf8);
        at -= length;
      } else {
        at += length;
      }
      continue;
    }
    if (!inString) {
      if (c == '"') inString = true;
      ++at;
      continue;
    }
    if (c == '"') {
      inString = false;
      ++at;
      continue;
    }
    if (c != '\\' || at + 1 >= text.size()) {
      ++at;
      continue;
    }
    if (text[at + 1] != 'u') {
      at += 2;  // a one-letter escape; an escaped quote does not end the string
      continue;
    }
    const int unit = HexQuad(text, at + 2);
    if (IsHighSurrogate(unit)) {
      const bool paired = at + 12 <= text.size() && text[at + 6] == '\\' && text[at + 7] == 'u' &&
                          IsLowSurrogate(HexQuad(text, at + 8));
      if (paired) {
        at += 12;
        continue;
      }
      replace(at, at + 6, kReplacementEscape);
      at += 6;
      continue;
    }
    if (IsLowSurrogate(unit)) {
      replace(at, at + 6, kReplacementEscape);
      at += 6;
      continue;
    }
    at += 2;
  }
  if (!changed) return std::nullopt;
  out.append(text.substr(copiedUpTo));
  return out;
}

}  // namespace linvara
