#pragma once
// Safari's binary cookie file ("cook" magic): the reader and a writer that
// produces files in the same layout (used for the empty "samplecookies"
// resource, the demo profile and tests).
//
// Layout: "cook", page count N (BE), N page sizes (BE), then the pages back to
// back. A page: header word, cookie count K (LE), K record offsets (LE), an
// end word, then K records back to back. A record: size S, 4 unused bytes,
// flags (bit 0 secure, bit 2 HttpOnly), 4 unused bytes, the offsets of the
// domain, name, path and value strings (LE, from the record's start), 8 unused
// bytes, expiry and creation (LE doubles, seconds since 2001-01-01 UTC), then
// the NUL-terminated strings in any order. After the pages: a checksum (BE) and
// 0x07172005.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cookies/PRCookFileNode.h"

namespace linvara {

// Reads the file and appends one entry per readable record to `cookArray`, in
// file order. `pagesizeArray` is emptied and gets the page sizes of the header.
// Every read is bounded by the record and by the file, whatever the file holds.
// A record size that does not move forward ends its page; the walk goes on at
// the next page, found from the header's page sizes.
// A file that cannot be opened changes nothing.
void ReadCookBinaryFileWithPath(const std::filesystem::path& path, std::vector<std::int32_t>& pagesizeArray,
                                CookieList& cookArray);
// The same over bytes already in memory.
void ReadCookBinaryBytes(std::string_view bytes, std::vector<std::int32_t>& pagesizeArray, CookieList& cookArray);

// Whether the bytes are laid out as a binary cookie file: the magic, a page
// table that fits, and pages (their header word, cookie count and record
// offsets) that lie inside the file where the table puts them. A text that
// merely begins with "cook" fails.
bool IsBinaryCookieLayoutConsistent(std::string_view bytes);

// ---- Writing ----

enum class CookieString { Domain = 0, Name = 1, Path = 2, Value = 3 };

struct BinaryCookieRecord {
  std::string domain;
  std::string name;
  std::string path;
  std::string value;
  std::uint32_t flags = 0;
  double expiry = 0;    // seconds since 2001-01-01 UTC
  double creation = 0;  // seconds since 2001-01-01 UTC
  // Order in which the four strings are stored after the record header.
  std::array<CookieString, 4> order{CookieString::Domain, CookieString::Name, CookieString::Path,
                                    CookieString::Value};
};

using BinaryCookiePage = std::vector<BinaryCookieRecord>;

// One record's bytes (exposed so tests can damage single fields).
std::string EncodeBinaryCookieRecord(const BinaryCookieRecord& record);
// One page's bytes.
std::string EncodeBinaryCookiePage(const BinaryCookiePage& page);
// One page's bytes around records given as bytes (tests damage single records).
std::string EncodeBinaryCookiePageOfRecords(const std::vector<std::string>& records);
// The sum of every fourth byte of the page, from its first byte.
std::uint32_t BinaryCookiePageChecksum(std::string_view pageBytes);
// A whole file: header, pages, checksum and end marker.
std::string BuildBinaryCookieFile(const std::vector<BinaryCookiePage>& pages);
// The same around pages given as bytes.
std::string BuildBinaryCookieFileOfPages(const std::vector<std::string>& pages);

// The "samplecookies" resource: a valid binary cookie file holding no cookie.
// Removal writes it over Safari's file. resources/samplecookies holds the same bytes.
std::string_view SampleCookiesBytes();

}  // namespace linvara
