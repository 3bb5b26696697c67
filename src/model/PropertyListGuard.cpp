#include "model/PropertyListGuard.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace linvara {
namespace {

Error TooDeep(std::size_t maxNesting) {
  return Fail("property list nested deeper than " + std::to_string(maxNesting) + " levels", ErrorKind::Malformed);
}

// ---- Binary form ("bplist00"): the object table, walked without recursion ----

class BinaryWalk {
 public:
  explicit BinaryWalk(std::string_view bytes) : bytes_(bytes) {}

  Result<void> Check(std::size_t maxNesting) {
    constexpr std::size_t kTrailer = 32;
    if (bytes_.size() < 8 + kTrailer) return {};
    const std::size_t trailer = bytes_.size() - kTrailer;
    offsetSize_ = Byte(trailer + 6);
    refSize_ = Byte(trailer + 7);
    const std::uint64_t count = Unsigned(trailer + 8, 8).value_or(0);
    const std::uint64_t top = Unsigned(trailer + 16, 8).value_or(0);
    tableOffset_ = Unsigned(trailer + 24, 8).value_or(0);
    if (offsetSize_ == 0 || offsetSize_ > 8 || refSize_ == 0 || refSize_ > 8 || count == 0 || top >= count ||
        tableOffset_ >= bytes_.size() || count > (bytes_.size() - tableOffset_) / offsetSize_)
      return {};  // not a table this check can follow; the parser decides
    objectCount_ = count;
    return Walk(top, maxNesting);
  }

 private:
  struct Frame {
    std::uint64_t object;
    std::size_t refs;       // position of the first reference
    std::uint64_t count;    // references to follow
    std::uint64_t next = 0;
    std::uint64_t keys = 0;  // the first `keys` references are dictionary keys
  };
  enum : std::uint8_t { kUnseen, kOpen, kDone };

  std::uint8_t Byte(std::size_t at) const { return static_cast<std::uint8_t>(bytes_[at]); }

  std::optional<std::uint64_t> Unsigned(std::size_t at, std::size_t width) const {
    if (width == 0 || width > 8 || at > bytes_.size() || bytes_.size() - at < width) return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value = (value << 8) | Byte(at + i);
    return value;
  }

  // Whether a string object holds a NUL character (an ASCII byte or a UTF-16 unit).
  bool StringHoldsNul(std::uint64_t object) const {
    auto offset = Unsigned(static_cast<std::size_t>(tableOffset_ + object * offsetSize_), offsetSize_);
    if (!offset || *offset >= bytes_.size()) return false;
    std::size_t at = static_cast<std::size_t>(*offset);
    const std::uint8_t marker = Byte(at++);
    const std::uint8_t kind = marker >> 4;
    if (kind != 0x5 && kind != 0x6) return false;
    auto count = CountAt(marker, at);
    if (!count) return false;
    const std::size_t width = kind == 0x6 ? 2 : 1;
    if (*count > (bytes_.size() - at) / width) return false;
    for (std::size_t i = 0; i < *count; ++i) {
      bool zero = true;
      for (std::size_t b = 0; b < width; ++b) zero = zero && Byte(at + i * width + b) == 0;
      if (zero) return true;
    }
    return false;
  }

  // The element count after a marker; `at` moves past an extended count.
  std::optional<std::uint64_t> CountAt(std::uint8_t marker, std::size_t& at) const {
    const std::uint64_t count = marker & 0x0F;
    if (count != 0x0F) return count;
    if (at >= bytes_.size() || (Byte(at) >> 4) != 0x1) return std::nullopt;
    const std::size_t width = std::size_t{1} << (Byte(at) & 0x0F);
    auto extended = Unsigned(at + 1, width);
    if (!extended) return std::nullopt;
    at += 1 + width;
    return extended;
  }

  // A container's references (dictionaries: keys, then values); nothing for any other object.
  std::optional<Frame> Container(std::uint64_t object) const {
    auto offset = Unsigned(static_cast<std::size_t>(tableOffset_ + object * offsetSize_), offsetSize_);
    if (!offset || *offset >= bytes_.size()) return std::nullopt;
    std::size_t at = static_cast<std::size_t>(*offset);
    const std::uint8_t marker = Byte(at++);
    const std::uint8_t kind = marker >> 4;
    if (kind != 0xA && kind != 0xC && kind != 0xD) return std::nullopt;
    auto elements = CountAt(marker, at);
    if (!elements || *elements > (bytes_.size() - at) / refSize_) return std::nullopt;
    const std::uint64_t count = kind == 0xD ? *elements * 2 : *elements;
    if (count > (bytes_.size() - at) / refSize_) return std::nullopt;
    return Frame{object, at, count, 0, kind == 0xD ? *elements : 0};
  }

  Result<void> Walk(std::uint64_t top, std::size_t maxNesting) {
    // Heights (levels of containers at and below an object) and the number of
    // objects a parser that copies every shared object would make.
    std::vector<std::uint8_t> state(objectCount_, kUnseen);
    std::vector<std::uint16_t> height(objectCount_, 0);
    std::vector<std::uint64_t> expanded(objectCount_, 1);
    const std::uint64_t expansionLimit = std::max<std::uint64_t>(std::uint64_t{1} << 20, bytes_.size());
    std::vector<Frame> stack;
    auto enter = [&](std::uint64_t object) -> Result<void> {
      if (state[object] == kOpen) return Fail("property list refers to itself", ErrorKind::Malformed);
      if (state[object] == kDone) return {};
      auto frame = Container(object);
      if (!frame) {
        state[object] = kDone;
        return {};
      }
      if (stack.size() >= maxNesting) return TooDeep(maxNesting);
      state[object] = kOpen;
      stack.push_back(*frame);
      return {};
    };
    if (auto r = enter(top); !r) return r;
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.next < frame.count) {
        const std::size_t at = frame.refs + static_cast<std::size_t>(frame.next++) * refSize_;
        const std::uint64_t child = Unsigned(at, refSize_).value_or(objectCount_);
        if (child >= objectCount_) continue;  // a dangling reference: the parser's to refuse
        if (frame.next <= frame.keys && StringHoldsNul(child))
          return Fail("property list key holds a NUL character", ErrorKind::Malformed);
        if (auto r = enter(child); !r) return r;
        continue;
      }
      // All references followed: fold the children into this container.
      const std::uint64_t object = frame.object;
      std::uint16_t levels = 0;
      std::uint64_t total = 1;
      for (std::uint64_t i = 0; i < frame.count; ++i) {
        const std::uint64_t child = Unsigned(frame.refs + static_cast<std::size_t>(i) * refSize_, refSize_).value_or(objectCount_);
        if (child >= objectCount_) continue;
        levels = std::max(levels, height[child]);
        total = std::min(expansionLimit + 1, total + expanded[child]);
      }
      height[object] = static_cast<std::uint16_t>(levels + 1);
      expanded[object] = total;
      state[object] = kDone;
      stack.pop_back();
      if (height[object] > maxNesting) return TooDeep(maxNesting);
      if (total > expansionLimit) return Fail("property list expands beyond its size", ErrorKind::Malformed);
    }
    return {};
  }

  std::string_view bytes_;
  std::uint8_t offsetSize_ = 0;
  std::uint8_t refSize_ = 0;
  std::uint64_t tableOffset_ = 0;
  std::uint64_t objectCount_ = 0;
};

// ---- XML form: open container tags counted while scanning ----

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
  return text.size() - at >= prefix.size() && text.compare(at, prefix.size(), prefix) == 0;
}

// "&#0;", "&#x00;" and the like.
bool IsNulReference(std::string_view text, std::size_t at) {
  std::size_t i = at + 2;
  const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
  if (hex) ++i;
  const std::size_t digits = i;
  while (i < text.size() && text[i] == '0') ++i;
  return i > digits && i < text.size() && text[i] == ';';
}

Result<void> CheckXml(std::string_view text, std::size_t maxNesting) {
  if (text.find('\0') != std::string_view::npos)
    return Fail("property list holds a NUL character", ErrorKind::Malformed);
  for (std::size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 2))
    if (IsNulReference(text, at)) return Fail("property list holds a NUL character", ErrorKind::Malformed);
  std::size_t depth = 0;
  std::size_t at = text.find('<');
  while (at != std::string_view::npos) {
    std::string_view skipTo;
    if (StartsWith(text, at, "<!--"))
      skipTo = "-->";
    else if (StartsWith(text, at, "<![CDATA["))
      skipTo = "]]>";
    else if (StartsWith(text, at, "<?"))
      skipTo = "?>";
    else if (StartsWith(text, at, "<!"))
      skipTo = ">";
    if (!skipTo.empty()) {
      const std::size_t end = text.find(skipTo, at + 2);
      if (end == std::string_view::npos) return {};
      at = text.find('<', end + skipTo.size());
      continue;
    }
    const std::size_t close = text.find('>', at + 1);
    if (close == std::string_view::npos) return {};
    std::size_t name = at + 1;
    const bool closing = name < close && text[name] == '/';
    if (closing) ++name;
    std::size_t nameEnd = name;
    while (nameEnd < close && text[nameEnd] != '/' && text[nameEnd] != ' ' && text[nameEnd] != '\t' &&
           text[nameEnd] != '\r' && text[nameEnd] != '\n')
      ++nameEnd;
    const std::string_view tag = text.substr(name, nameEnd - name);
    const bool selfClosing = text[close - 1] == '/';
    if ((tag == "array" || tag == "dict") && !selfClosing) {
      if (closing) {
        if (depth > 0) --depth;
      } else if (++depth > maxNesting) {
        return TooDeep(maxNesting);
      }
    }
    at = text.find('<', close + 1);
  }
  return {};
}

}  // namespace

Result<void> CheckPropertyListForParser(std::string_view bytes, std::size_t maxNesting) {
  if (bytes.size() >= 8 && bytes.compare(0, 8, "bplist00") == 0) return BinaryWalk(bytes).Check(maxNesting);
  return CheckXml(bytes, maxNesting);
}

}  // namespace linvara
