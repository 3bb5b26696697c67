#include "cookies/BinaryCookieFile.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "cookies/CookieText.h"
#include "model/FileBytes.h"

namespace linvara {

namespace {

constexpr std::uint64_t kRecordHeaderSize = 56;
constexpr std::uint64_t kEmptyPageSize = 12;
constexpr std::uint32_t kFileEndMarker = 0x07172005;
constexpr std::uint32_t kPageHeaderWord = 0x00000100;  // as the bytes 00 00 01 00

// Bounded reads: bytes at or past the end of the buffer read as zero.
class ZeroPaddedBytes {
 public:
  explicit ZeroPaddedBytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t size() const { return bytes_.size(); }

  std::uint8_t At(std::uint64_t offset) const {
    return offset < bytes_.size() ? static_cast<std::uint8_t>(bytes_[offset]) : 0;
  }
  std::uint32_t BigEndian32(std::uint64_t offset) const {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | At(offset + i);
    return v;
  }
  std::uint32_t LittleEndian32(std::uint64_t offset) const {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | At(offset + i);
    return v;
  }
  double LittleEndianDouble(std::uint64_t offset) const {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | At(offset + i);
    return std::bit_cast<double>(v);
  }
  // Bytes from `begin` up to the first NUL, never at or past `end` nor past the buffer.
  std::string_view TextUpTo(std::uint64_t begin, std::uint64_t end) const {
    end = std::min<std::uint64_t>(end, bytes_.size());
    if (begin >= end) return {};
    std::string_view field = bytes_.substr(begin, end - begin);
    return field.substr(0, field.find('\0'));
  }

 private:
  std::string_view bytes_;
};

// Reads the record at C; nothing when the record cannot hold its four strings.
CookieNodePtr ReadRecord(const ZeroPaddedBytes& file, std::uint64_t c, std::int32_t size) {
  auto node = std::make_shared<PRCookFileNode>();
  node->cookieStartOffSet = c;
  node->cookieLength = size;
  const std::uint32_t flags = file.LittleEndian32(c + 8);
  if (flags & 1u) node->secureValue = "YES";
  if (size <= static_cast<std::int32_t>(kRecordHeaderSize)) return nullptr;

  std::array<std::int32_t, 4> offsets{};  // domain, name, path, value
  for (int i = 0; i < 4; ++i) {
    offsets[i] = static_cast<std::int32_t>(file.LittleEndian32(c + 16 + 4 * static_cast<std::uint64_t>(i)));
    if (offsets[i] < static_cast<std::int32_t>(kRecordHeaderSize) || offsets[i] >= size) return nullptr;
  }
  const std::uint64_t recordEnd = c + static_cast<std::uint64_t>(size);
  auto text = [&](int i) {
    return GetStringFormChar(file.TextUpTo(c + static_cast<std::uint64_t>(offsets[i]), recordEnd));
  };
  node->fileHost = text(0);
  node->fileName = text(1);
  node->filePath = text(2);
  node->fileValue = text(3);

  const double expiry = file.LittleEndianDouble(c + 40);
  if (expiry != 0) {
    auto seconds = SafariTimeToUnixSeconds(expiry);
    node->expiredDate = GetNSStringDate(seconds ? GetDateTime(*seconds, kDateSecondsSince1970) : std::nullopt);
  }
  return node;
}

}  // namespace

void ReadCookBinaryBytes(std::string_view bytes, std::vector<std::int32_t>& pagesizeArray, CookieList& cookArray) {
  const ZeroPaddedBytes file(bytes);
  pagesizeArray.clear();
  const auto pageCount = static_cast<std::int32_t>(file.BigEndian32(4));
  if (pageCount <= 0) return;

  // The page-size table: only entries the file holds are kept. When the table
  // runs past the end of the file, every page lies past it too: no cookies.
  const std::uint64_t tableRoom = file.size() > 8 ? (file.size() - 8) / 4 : 0;
  const std::uint64_t tableEntries = std::min<std::uint64_t>(static_cast<std::uint64_t>(pageCount), tableRoom);
  pagesizeArray.reserve(tableEntries);
  for (std::uint64_t i = 0; i < tableEntries; ++i)
    pagesizeArray.push_back(static_cast<std::int32_t>(file.BigEndian32(8 + 4 * i)));
  if (tableEntries < static_cast<std::uint64_t>(pageCount)) return;

  // Pages and records are taken back to back. Past the end of the file nothing
  // more can be listed, so the walk stops there instead of stepping through
  // zero bytes.
  std::uint64_t page = 8 + 4 * static_cast<std::uint64_t>(pageCount);
  std::uint64_t declaredPage = page;  // where the table's sizes put this page
  for (std::int32_t p = 0; p < pageCount && page < file.size(); ++p) {
    const std::uint64_t declaredNext = declaredPage + static_cast<std::uint32_t>(pagesizeArray[p]);
    declaredPage = declaredNext;
    const auto cookieCount = static_cast<std::int32_t>(file.LittleEndian32(page + 4));
    if (cookieCount <= 0) {
      page += kEmptyPageSize;
      continue;
    }
    std::uint64_t record = page + kEmptyPageSize + 4 * static_cast<std::uint64_t>(cookieCount);
    bool pageBroken = false;
    for (std::int32_t k = 0; k < cookieCount && record < file.size(); ++k) {
      const auto size = static_cast<std::int32_t>(file.LittleEndian32(record));
      // A size that does not move forward leaves no way to the page's next record.
      if (size <= 0) {
        pageBroken = true;
        break;
      }
      if (auto node = ReadRecord(file, record, size)) cookArray.push_back(std::move(node));
      record += static_cast<std::uint64_t>(size);
    }
    if (!pageBroken) {
      page = record;
      continue;
    }
    // The next page is found from the table's sizes, but only forward: a table
    // that points back into bytes already walked leaves no next page.
    if (declaredNext <= record) return;
    page = declaredNext;
  }
}

bool IsBinaryCookieLayoutConsistent(std::string_view bytes) {
  const ZeroPaddedBytes file(bytes);
  if (bytes.size() < 8 || bytes.substr(0, 4) != "cook") return false;
  const std::uint64_t pageCount = file.BigEndian32(4);
  std::uint64_t page = 8 + 4 * pageCount;
  if (page > file.size()) return false;
  for (std::uint64_t p = 0; p < pageCount; ++p) {
    const std::uint64_t pageSize = file.BigEndian32(8 + 4 * p);
    if (pageSize < kEmptyPageSize || page + pageSize > file.size()) return false;
    if (file.BigEndian32(page) != kPageHeaderWord) return false;
    const std::uint64_t cookieCount = file.LittleEndian32(page + 4);
    const std::uint64_t firstRecord = kEmptyPageSize + 4 * cookieCount;
    if (firstRecord > pageSize) return false;
    for (std::uint64_t k = 0; k < cookieCount; ++k) {
      const std::uint64_t offset = file.LittleEndian32(page + 8 + 4 * k);
      if (offset < firstRecord || offset >= pageSize) return false;
    }
    page += pageSize;
  }
  return true;
}

void ReadCookBinaryFileWithPath(const std::filesystem::path& path, std::vector<std::int32_t>& pagesizeArray,
                                CookieList& cookArray) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return;
  ReadCookBinaryBytes(*bytes, pagesizeArray, cookArray);
}

// ---- Writing ----

namespace {
void PutLittleEndian32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}
void PutBigEndian32(std::string& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}
void PutLittleEndianDouble(std::string& out, double d) {
  const auto v = std::bit_cast<std::uint64_t>(d);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}
}  // namespace

std::string EncodeBinaryCookieRecord(const BinaryCookieRecord& record) {
  const std::array<const std::string*, 4> strings{&record.domain, &record.name, &record.path, &record.value};
  std::array<std::uint32_t, 4> offsets{};
  std::string area;
  for (CookieString which : record.order) {
    const auto index = static_cast<std::size_t>(which);
    offsets[index] = static_cast<std::uint32_t>(kRecordHeaderSize + area.size());
    area += *strings[index];
    area.push_back('\0');
  }
  std::string out;
  PutLittleEndian32(out, static_cast<std::uint32_t>(kRecordHeaderSize + area.size()));
  PutLittleEndian32(out, 0);
  PutLittleEndian32(out, record.flags);
  PutLittleEndian32(out, 0);
  for (std::uint32_t offset : offsets) PutLittleEndian32(out, offset);
  out.append(8, '\0');
  PutLittleEndianDouble(out, record.expiry);
  PutLittleEndianDouble(out, record.creation);
  out += area;
  return out;
}

std::string EncodeBinaryCookiePage(const BinaryCookiePage& page) {
  std::vector<std::string> records;
  records.reserve(page.size());
  for (const auto& record : page) records.push_back(EncodeBinaryCookieRecord(record));
  return EncodeBinaryCookiePageOfRecords(records);
}

std::string EncodeBinaryCookiePageOfRecords(const std::vector<std::string>& records) {
  std::string out;
  PutBigEndian32(out, kPageHeaderWord);
  PutLittleEndian32(out, static_cast<std::uint32_t>(records.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(kEmptyPageSize + 4 * records.size());
  for (const auto& bytes : records) {
    PutLittleEndian32(out, offset);
    offset += static_cast<std::uint32_t>(bytes.size());
  }
  PutLittleEndian32(out, 0);
  for (const auto& bytes : records) out += bytes;
  return out;
}

std::uint32_t BinaryCookiePageChecksum(std::string_view pageBytes) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < pageBytes.size(); i += 4) sum += static_cast<std::uint8_t>(pageBytes[i]);
  return sum;
}

std::string BuildBinaryCookieFile(const std::vector<BinaryCookiePage>& pages) {
  std::vector<std::string> encoded;
  encoded.reserve(pages.size());
  for (const auto& page : pages) encoded.push_back(EncodeBinaryCookiePage(page));
  return BuildBinaryCookieFileOfPages(encoded);
}

std::string BuildBinaryCookieFileOfPages(const std::vector<std::string>& encoded) {
  std::string out = "cook";
  PutBigEndian32(out, static_cast<std::uint32_t>(encoded.size()));
  for (const auto& bytes : encoded) PutBigEndian32(out, static_cast<std::uint32_t>(bytes.size()));
  std::uint32_t checksum = 0;
  for (const auto& bytes : encoded) {
    out += bytes;
    checksum += BinaryCookiePageChecksum(bytes);
  }
  PutBigEndian32(out, checksum);
  PutBigEndian32(out, kFileEndMarker);
  return out;
}

std::string_view SampleCookiesBytes() {
  // "cook", no pages, checksum 0, end marker.
  static constexpr char kBytes[] = {'c', 'o', 'o', 'k', 0, 0, 0, 0, 0, 0, 0, 0, 0x07, 0x17, 0x20, 0x05};
  return std::string_view(kBytes, sizeof kBytes);
}

}  // namespace linvara
