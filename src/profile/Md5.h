#pragma once
// MD5 (RFC 1321), for the checksum Chromium keeps in its bookmark file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace linvara::profile {

class Md5 {
 public:
  void Update(std::string_view bytes);
  // The digest as 32 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();

 private:
  void Block(const std::uint8_t* block);
  std::array<std::uint32_t, 4> state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t bufferSize_ = 0;
  std::uint64_t length_ = 0;
};

}  // namespace linvara::profile
