#include "model/BinaryPropertyList.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <vector>

namespace linvara {
namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;
// Dictionaries with more keys than this find repeated keys through a hash map.
constexpr std::size_t kLinearKeySearch = 16;

// Object markers: the high four bits name the type, the low four the size.
enum Marker : std::uint8_t {
  kSingleton = 0x0,  // 0x08 false, 0x09 true
  kInteger = 0x1,
  kReal = 0x2,
  kDate = 0x3,
  kData = 0x4,
  kAsciiString = 0x5,
  kUtf16String = 0x6,
  kUid = 0x8,
  kArray = 0xA,
  kSet = 0xC,
  kDictionary = 0xD,
};

std::uint64_t BigEndian(const std::uint8_t* p, std::size_t width) {
  // A wider field keeps its last eight bytes.
  if (width > 8) {
    p += width - 8;
    width = 8;
  }
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value = (value << 8) | p[i];
  return value;
}

double RealAt(const std::uint8_t* p, std::size_t width) {
  if (width == 4) {
    const auto bits = static_cast<std::uint32_t>(BigEndian(p, 4));
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  const std::uint64_t bits = BigEndian(p, 8);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

// A conversion to a whole number as the processor does it: toward zero, and
// the lowest value for what does not fit.
template <class Int>
Int Truncate(double d) {
  constexpr double limit = static_cast<double>(std::numeric_limits<Int>::max()) + 1.0;
  if (!(d >= -limit && d < limit)) return std::numeric_limits<Int>::min();
  return static_cast<Int>(d);
}

// Dates are kept as libplist keeps them, and as every earlier version of this
// program read them: whole seconds and microseconds of 32 bits each, the
// microseconds always counted forward (-1.75 reads as -1 + 0.75), and a date
// beyond 32-bit seconds as the lowest.
Date DateFromSeconds(double seconds) {
  const auto whole = Truncate<std::int32_t>(seconds);
  const auto micro =
      Truncate<std::int32_t>(std::fabs(seconds - static_cast<double>(Truncate<std::int64_t>(seconds))) * 1000000.0);
  return Date{static_cast<double>(whole) + static_cast<double>(micro) / 1e6};
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// Big-endian UTF-16 as UTF-8, surrogates paired as libplist pairs them: a
// lead waits, past other characters, for the next trail; a second lead drops
// the waiting one and itself, and a trail with no lead waiting is dropped.
std::string Utf16ToUtf8(const std::uint8_t* p, std::uint64_t units) {
  std::string out;
  out.reserve(static_cast<std::size_t>(units));
  bool leadWaiting = false;
  std::uint32_t high = 0;
  for (std::uint64_t i = 0; i < units; ++i) {
    const std::uint32_t unit = static_cast<std::uint32_t>(p[2 * i]) << 8 | p[2 * i + 1];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      high = 0x10000 + ((unit & 0x3FF) << 10);
      leadWaiting = !leadWaiting;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (leadWaiting) AppendUtf8(out, high | (unit & 0x3FF));
      leadWaiting = false;
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

bool HoldsNul(const std::uint8_t* p, std::uint64_t count, std::size_t width) {
  for (std::uint64_t i = 0; i < count; ++i)
    if (p[i * width] == 0 && p[i * width + width - 1] == 0) return true;
  return false;
}

class BinaryReader {
 public:
  BinaryReader(std::string_view bytes, std::size_t maxNesting)
      : data_(reinterpret_cast<const std::uint8_t*>(bytes.data())), size_(bytes.size()), maxNesting_(maxNesting) {}

  Result<Value> Read() {
    if (!ReadTrailer()) return Failure();
    open_.assign(static_cast<std::size_t>(objectCount_), 0);
    // A budget for the values made: every object counts one, and its bytes a
    // little, so shared objects copied at each use cannot grow without end.
    // A file whose containers are not shared makes at most one value per
    // reference, so twice its size is ample.
    budget_ = std::max<std::uint64_t>(std::uint64_t{1} << 16, 2 * static_cast<std::uint64_t>(size_));
    Value top;
    if (!ReadObject(topObject_, 0, top)) return Failure();
    return top;
  }

 private:
  Error Failure() const { return Fail(error_, ErrorKind::Malformed); }
  bool Refuse(std::string message) {
    error_ = std::move(message);
    return false;
  }

  bool ReadTrailer() {
    if (size_ < kHeaderSize + kTrailerSize) return Refuse("binary property list is truncated: no room for its trailer");
    const std::uint8_t* trailer = data_ + size_ - kTrailerSize;
    offsetSize_ = trailer[6];
    refSize_ = trailer[7];
    objectCount_ = BigEndian(trailer + 8, 8);
    topObject_ = BigEndian(trailer + 16, 8);
    const std::uint64_t tableOffset = BigEndian(trailer + 24, 8);
    const std::size_t tableRoom = size_ - kTrailerSize;
    if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8)
      return Refuse("binary property list trailer gives offset or reference sizes outside 1 to 8 bytes");
    if (objectCount_ == 0) return Refuse("binary property list holds no objects");
    if (topObject_ >= objectCount_) return Refuse("binary property list top object is out of range");
    if (tableOffset < kHeaderSize || tableOffset > tableRoom ||
        objectCount_ > (tableRoom - tableOffset) / offsetSize_)
      return Refuse("binary property list offset table is out of range");
    table_ = data_ + tableOffset;
    objectsEnd_ = static_cast<std::size_t>(tableOffset);
    return true;
  }

  // Where an object starts; false when its offset points outside the objects.
  bool ObjectStart(std::uint64_t index, std::size_t& at) {
    const std::uint64_t offset = BigEndian(table_ + index * offsetSize_, offsetSize_);
    if (offset < kHeaderSize || offset >= objectsEnd_)
      return Refuse("binary property list object offset is out of range");
    at = static_cast<std::size_t>(offset);
    return true;
  }

  // True when `count` items of `width` bytes from `at` stay within the objects.
  bool Fits(std::size_t at, std::uint64_t count, std::size_t width) const {
    return at <= objectsEnd_ && count <= (objectsEnd_ - at) / width;
  }

  // The count in a marker's low bits, or the integer object after it.
  bool Count(std::uint8_t marker, std::size_t& at, std::uint64_t& count) {
    count = marker & 0x0F;
    if (count != 0x0F) return true;
    if (at >= objectsEnd_ || (data_[at] >> 4) != kInteger)
      return Refuse("binary property list object has a malformed count");
    const std::size_t width = std::size_t{1} << (data_[at] & 0x0F);
    if (width > 8 || !Fits(at + 1, 1, width)) return Refuse("binary property list object has a malformed count");
    count = BigEndian(data_ + at + 1, width);
    at += 1 + width;
    return true;
  }

  bool Spend(std::uint64_t bytes) {
    const std::uint64_t cost = 1 + bytes / 32;
    if (cost > budget_) return Refuse("property list expands beyond its size");
    budget_ -= cost;
    return true;
  }

  bool ReadObject(std::uint64_t index, std::size_t nesting, Value& out) {
    std::size_t at = 0;
    if (!ObjectStart(index, at)) return false;
    const std::uint8_t marker = data_[at++];
    const std::uint8_t low = marker & 0x0F;
    switch (marker >> 4) {
      case kSingleton:
        if (low != 0x8 && low != 0x9) return Refuse("binary property list holds an object of unknown type");
        out = Value(low == 0x9);
        return Spend(0);
      case kInteger: {
        const std::size_t width = std::size_t{1} << low;
        if ((width != 1 && width != 2 && width != 4 && width != 8 && width != 16) || !Fits(at, 1, width))
          return Refuse("binary property list integer has a wrong size");
        out = Value(Integer{static_cast<std::int64_t>(BigEndian(data_ + at, width)), false});
        return Spend(0);
      }
      case kReal: {
        const std::size_t width = std::size_t{1} << low;
        if ((width != 4 && width != 8) || !Fits(at, 1, width)) return Refuse("binary property list real has a wrong size");
        out = Value(RealAt(data_ + at, width));
        return Spend(0);
      }
      case kDate:
        if (low != 3 || !Fits(at, 1, 8)) return Refuse("binary property list date has a wrong size");
        out = Value(DateFromSeconds(RealAt(data_ + at, 8)));
        return Spend(0);
      case kData:
      case kAsciiString:
      case kUtf16String:
        return ReadBytes(marker >> 4, marker, at, out);
      case kUid: {
        const std::size_t width = std::size_t{low} + 1;
        if (!Fits(at, 1, width)) return Refuse("binary property list identifier runs past the objects");
        out = Value(Integer{static_cast<std::int64_t>(BigEndian(data_ + at, width)), true});
        return Spend(0);
      }
      case kArray:
      case kSet:
      case kDictionary:
        return ReadContainer(index, marker, at, nesting, out);
      default:
        return Refuse("binary property list holds an object of unknown type");
    }
  }

  bool ReadBytes(std::uint8_t type, std::uint8_t marker, std::size_t at, Value& out, bool key = false) {
    std::uint64_t count = 0;
    if (!Count(marker, at, count)) return false;
    const std::size_t width = type == kUtf16String ? 2 : 1;
    if (!Fits(at, count, width)) return Refuse("binary property list object runs past the objects");
    if (!Spend(count * width)) return false;
    const std::uint8_t* p = data_ + at;
    const auto length = static_cast<std::size_t>(count);
    if (key && HoldsNul(p, count, width)) return Refuse("property list key holds a NUL character");
    if (type == kData)
      out = Value(Bytes(p, p + length));
    else if (type == kAsciiString)  // up to a NUL, as libplist reads it
      out = Value(std::string(reinterpret_cast<const char*>(p), std::find(p, p + length, 0) - p));
    else
      out = Value(Utf16ToUtf8(p, count));
    return true;
  }

  bool Reference(std::size_t at, std::uint64_t& index) {
    index = BigEndian(data_ + at, refSize_);
    if (index >= objectCount_) return Refuse("binary property list reference is out of range");
    return true;
  }

  bool ReadContainer(std::uint64_t index, std::uint8_t marker, std::size_t at, std::size_t nesting, Value& out) {
    std::uint64_t count = 0;
    if (!Count(marker, at, count)) return false;
    const bool dictionary = (marker >> 4) == kDictionary;
    const std::uint64_t references = dictionary ? count * 2 : count;
    if (count > objectsEnd_ || !Fits(at, references, refSize_))
      return Refuse("binary property list container count runs past the objects");
    if (nesting >= maxNesting_)
      return Refuse("property list nested deeper than " + std::to_string(maxNesting_) + " levels");
    auto& open = open_[static_cast<std::size_t>(index)];
    if (open) return Refuse("property list refers to itself");
    if (!Spend(0)) return false;
    open = 1;
    const bool read = dictionary ? ReadDictionary(at, static_cast<std::size_t>(count), nesting + 1, out)
                                 : ReadArray(at, static_cast<std::size_t>(count), nesting + 1, out);
    open = 0;
    return read;
  }

  bool ReadArray(std::size_t at, std::size_t count, std::size_t nesting, Value& out) {
    auto array = Array::make();
    std::vector<Value>& items = array->items();
    items.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      std::uint64_t child = 0;
      if (!Reference(at + i * refSize_, child) || !ReadObject(child, nesting, items[i])) return false;
    }
    out = Value(std::move(array));
    return true;
  }

  // A key is a string object; one holding a NUL character, in either form, is refused.
  bool ReadKey(std::size_t at, std::string& key) {
    std::uint64_t index = 0;
    std::size_t start = 0;
    if (!Reference(at, index) || !ObjectStart(index, start)) return false;
    const std::uint8_t marker = data_[start];
    const std::uint8_t type = marker >> 4;
    if (type != kAsciiString && type != kUtf16String)
      return Refuse("binary property list dictionary key is not a string");
    Value value;
    if (!ReadBytes(type, marker, start + 1, value, true)) return false;
    key = *value.asString();
    return true;
  }

  bool ReadDictionary(std::size_t at, std::size_t count, std::size_t nesting, Value& out) {
    // A key given twice keeps its first place and takes its last value.
    std::vector<Dictionary::Entry> entries;
    entries.reserve(count);
    std::unordered_map<std::string_view, std::size_t> places;
    const std::size_t valuesAt = at + count * refSize_;
    for (std::size_t i = 0; i < count; ++i) {
      std::string key;
      Value value;
      std::uint64_t child = 0;
      if (!ReadKey(at + i * refSize_, key) || !Reference(valuesAt + i * refSize_, child) ||
          !ReadObject(child, nesting, value))
        return false;
      std::size_t place = entries.size();
      if (count <= kLinearKeySearch) {
        place = static_cast<std::size_t>(
            std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == key; }) - entries.begin());
      } else if (auto found = places.find(key); found != places.end()) {
        place = found->second;
      }
      if (place < entries.size()) {
        entries[place].second = std::move(value);
        continue;
      }
      entries.emplace_back(std::move(key), std::move(value));
      // The reserved entries never move, so their keys can be looked up in place.
      if (count > kLinearKeySearch) places.emplace(entries.back().first, place);
    }
    out = Value(Dictionary::FromEntries(std::move(entries)));
    return true;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t maxNesting_;
  const std::uint8_t* table_ = nullptr;
  std::size_t objectsEnd_ = 0;
  std::uint8_t offsetSize_ = 0;
  std::uint8_t refSize_ = 0;
  std::uint64_t objectCount_ = 0;
  std::uint64_t topObject_ = 0;
  std::uint64_t budget_ = 0;
  std::vector<std::uint8_t> open_;  // 1 while a container is being read
  std::string error_;
};

}  // namespace

bool IsBinaryPropertyList(std::string_view bytes) {
  return bytes.size() >= kHeaderSize && bytes.compare(0, kHeaderSize, "bplist00") == 0;
}

Result<Value> ParseBinaryPropertyList(std::string_view bytes, std::size_t maxNesting) {
  if (!IsBinaryPropertyList(bytes)) return Fail("not a binary property list", ErrorKind::Malformed);
  return BinaryReader(bytes, maxNesting).Read();
}

}  // namespace linvara
