#pragma once
// Password-based sealing of short texts: a key derived with PBKDF2-HMAC-SHA256
// from the password and a random salt, then AES-256-GCM with a random nonce.
// The sealed form travels as JSON ("version", "iterations", "salt", "nonce",
// "ciphertext", the last three in base64; the ciphertext ends with the 16-byte
// tag), which a browser opens with its Web Crypto API.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "model/Result.h"
#include "model/Value.h"

namespace linvara {

inline constexpr std::uint32_t kDefaultKeyIterations = 600000;
inline constexpr std::size_t kSaltSize = 16;
inline constexpr std::size_t kNonceSize = 12;
inline constexpr int kSealedPayloadVersion = 1;

using SealKey = std::array<std::uint8_t, 32>;

// Cryptographically random bytes; fails only when the generator does.
Result<Bytes> RandomBytes(std::size_t count);
Result<SealKey> DerivePasswordKey(std::string_view password, const Bytes& salt, std::uint32_t iterations);

std::string Base64Encode(const Bytes& bytes);
// Standard base64 with padding; anything else fails.
Result<Bytes> Base64Decode(std::string_view text);

struct SealedPayload {
  int version = kSealedPayloadVersion;
  std::uint32_t iterations = kDefaultKeyIterations;
  Bytes salt;
  Bytes nonce;
  Bytes ciphertext;  // followed by the tag
};

std::string PayloadJson(const SealedPayload& payload);
// A JSON object of the form above; the version must be known and the sizes right.
Result<SealedPayload> ParsePayloadJson(std::string_view json);

// Seals and opens with one password, deriving each (salt, iterations) key once.
class PasswordSealer {
 public:
  explicit PasswordSealer(std::string password, std::uint32_t iterations = kDefaultKeyIterations)
      : password_(std::move(password)), iterations_(iterations) {}
  // Wipes the password and the derived keys.
  ~PasswordSealer();
  PasswordSealer(const PasswordSealer&) = delete;
  PasswordSealer& operator=(const PasswordSealer&) = delete;

  // Under a fresh salt and nonce.
  Result<SealedPayload> Seal(std::string_view plain);
  // Under the given salt (so several texts share one derivation) and a fresh nonce.
  Result<SealedPayload> SealWithSalt(std::string_view plain, const Bytes& salt);
  // Fails for a wrong password or a changed payload alike.
  Result<std::string> Open(const SealedPayload& payload);

  const std::string& password() const { return password_; }
  std::uint32_t iterations() const { return iterations_; }

 private:
  Result<SealKey> KeyFor(const Bytes& salt, std::uint32_t iterations);
  std::string password_;
  std::uint32_t iterations_;
  std::map<std::pair<Bytes, std::uint32_t>, SealKey> keys_;
};

}  // namespace linvara
