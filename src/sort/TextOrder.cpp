#include "sort/TextOrder.h"

#include <unicode/ucol.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace linvara {

namespace {

// The root collator at primary strength with normalization on. Primary
// strength is exactly "letter case and accents do not count" (it also equates
// compatibility forms such as the "fi" ligature); normalization makes
// canonically equivalent sequences (precomposed and decomposed accents or
// Hangul) compare equal; the root locale ties the order to no language. Sort
// keys let a sort fold each text once. One collator per thread: an ICU
// collator is not shared across threads.
struct CollatorDeleter {
  void operator()(UCollator* c) const { ucol_close(c); }
};

UCollator* RootCollator() {
  thread_local std::unique_ptr<UCollator, CollatorDeleter> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCollator, CollatorDeleter> c(ucol_open("", &status));
    if (U_FAILURE(status)) return std::unique_ptr<UCollator, CollatorDeleter>();
    ucol_setStrength(c.get(), UCOL_PRIMARY);
    ucol_setAttribute(c.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    return c;
  }();
  return collator.get();
}

// The UTF-16 form in a buffer kept for the thread, so a long list costs no allocation per text.
const std::u16string& ToUtf16(std::string_view utf8) {
  thread_local std::u16string out;
  out.resize(utf8.size());
  // ASCII, the common case, widens unit for unit.
  std::size_t i = 0;
  for (; i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80; ++i) out[i] = static_cast<char16_t>(utf8[i]);
  if (i == utf8.size()) return out;
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &length, utf8.data(),
                       static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
  return out;
}

}  // namespace

SortKeyTable::Key SortKeyTable::Add(std::string_view utf8) {
  Key key;
  key.offset = static_cast<std::uint32_t>(bytes_.size());
  UCollator* collator = RootCollator();
  if (!collator || utf8.empty()) return key;
  const std::u16string& text = ToUtf16(utf8);
  const auto* chars = reinterpret_cast<const UChar*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  thread_local std::vector<uint8_t> buffer(256);
  int32_t needed = ucol_getSortKey(collator, chars, length, buffer.data(), static_cast<int32_t>(buffer.size()));
  if (needed > static_cast<int32_t>(buffer.size())) {
    buffer.resize(static_cast<std::size_t>(needed));
    needed = ucol_getSortKey(collator, chars, length, buffer.data(), needed);
  }
  // The key ends in a zero byte, which plain byte order does not need.
  key.length = needed > 1 ? static_cast<std::uint32_t>(needed - 1) : 0;
  const uint8_t* out = buffer.data();
  // A key of up to 16 bytes is whole in its head; only longer ones are kept in the buffer.
  if (key.length > 16) bytes_.append(reinterpret_cast<const char*>(out), key.length);
  for (std::uint32_t i = 0; i < 16; ++i) {
    const std::uint64_t byte = i < key.length ? out[i] : 0;
    key.head[i / 8] |= byte << (8 * (7 - i % 8));
  }
  return key;
}

Ordering SortKeyTable::CompareTails(const Key& a, const Key& b) const {
  // The heads are equal, so the first 16 bytes (or the shorter key) need no
  // second look; a key with more than that is in the buffer.
  const std::uint32_t skip = std::min({a.length, b.length, 16u});
  const std::string_view x(bytes_.data() + a.offset + skip, a.length - skip);
  const std::string_view y(bytes_.data() + b.offset + skip, b.length - skip);
  const int c = x.compare(y);
  return c < 0 ? Ordering::Before : c > 0 ? Ordering::After : Ordering::Same;
}

Ordering CompareText(std::string_view a, std::string_view b) {
  SortKeyTable keys;
  const SortKeyTable::Key x = keys.Add(a), y = keys.Add(b);
  return keys.Compare(x, y);
}

bool StartsWithPunctuation(std::string_view utf8) {
  if (utf8.empty()) return false;
  int32_t offset = 0;
  UChar32 c = 0;
  U8_NEXT(reinterpret_cast<const uint8_t*>(utf8.data()), offset, static_cast<int32_t>(utf8.size()), c);
  // A character outside the basic plane starts with a surrogate unit, which is no punctuation.
  if (c < 0 || c > 0xFFFF) return false;
  return u_ispunct(c);
}


namespace {
void RemoveAll(std::string& text, std::string_view what) {
  if (text.find(what) == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(what, from)) != std::string::npos; from = at + what.size())
    out.append(text, from, at - from);
  out.append(text, from);
  text = std::move(out);
}
}  // namespace

std::string StripScheme(std::string address) {
  RemoveAll(address, "http://");
  RemoveAll(address, "https://");
  return address;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace linvara
