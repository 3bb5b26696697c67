#include "crypto/PasswordVerifier.h"

#include <openssl/crypto.h>

#include <charconv>
#include <vector>

namespace linvara {

namespace {

constexpr std::string_view kScheme = "pbkdf2-sha256$";

struct ParsedVerifier {
  std::uint32_t iterations = 0;
  Bytes salt;
  Bytes hash;
};

std::vector<std::string_view> SplitDollar(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find('$', start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

Result<ParsedVerifier> ParseVerifier(std::string_view stored) {
  const auto parts = SplitDollar(stored.substr(kScheme.size()));
  if (parts.size() != 3) return Fail("verifier of the wrong form", ErrorKind::Malformed);
  ParsedVerifier v;
  const auto [end, ec] = std::from_chars(parts[0].data(), parts[0].data() + parts[0].size(), v.iterations);
  if (ec != std::errc() || end != parts[0].data() + parts[0].size() || v.iterations == 0)
    return Fail("verifier iterations unreadable", ErrorKind::Malformed);
  auto salt = Base64Decode(parts[1]);
  auto hash = Base64Decode(parts[2]);
  if (!salt || !hash || salt->empty() || hash->size() != SealKey{}.size())
    return Fail("verifier salt or hash unreadable", ErrorKind::Malformed);
  v.salt = std::move(*salt);
  v.hash = std::move(*hash);
  return v;
}

bool SameBytes(const void* a, std::size_t aSize, const void* b, std::size_t bSize) {
  return aSize == bSize && CRYPTO_memcmp(a, b, aSize) == 0;
}

}  // namespace

Result<std::string> MakePasswordVerifier(std::string_view password, std::uint32_t iterations) {
  auto salt = RandomBytes(kSaltSize);
  if (!salt) return salt.failure();
  auto hash = DerivePasswordKey(password, *salt, iterations);
  if (!hash) return hash.failure();
  return std::string(kScheme) + std::to_string(iterations) + "$" + Base64Encode(*salt) + "$" +
         Base64Encode(Bytes(hash->begin(), hash->end()));
}

bool IsPasswordVerifier(std::string_view stored) { return stored.substr(0, kScheme.size()) == kScheme; }

PasswordCheck CheckPassword(std::string_view stored, std::string_view typed) {
  if (!IsPasswordVerifier(stored))
    return {SameBytes(stored.data(), stored.size(), typed.data(), typed.size()), true};
  auto verifier = ParseVerifier(stored);
  if (!verifier) return {};
  auto hash = DerivePasswordKey(typed, verifier->salt, verifier->iterations);
  if (!hash) return {};
  return {SameBytes(hash->data(), hash->size(), verifier->hash.data(), verifier->hash.size()), false};
}

}  // namespace linvara
