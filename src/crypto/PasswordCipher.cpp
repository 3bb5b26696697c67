#include "crypto/PasswordCipher.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cctype>
#include <memory>
#include <nlohmann/json.hpp>

namespace linvara {

namespace {

constexpr std::size_t kTagSize = 16;
// Far above what any page uses; keeps a forged payload from stalling the program.
constexpr std::uint32_t kMaxIterations = 10'000'000;

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

CipherContext NewContext() { return CipherContext(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free); }

const unsigned char* Data(const Bytes& b) { return b.empty() ? nullptr : b.data(); }

// AES-256-GCM with a 12-byte nonce, set up to encrypt or decrypt.
bool StartGcm(EVP_CIPHER_CTX* ctx, const SealKey& key, const Bytes& nonce, bool encrypting) {
  const int enc = encrypting ? 1 : 0;
  return ctx && EVP_CipherInit_ex(ctx, EVP_aes_256_gcm(), nullptr, nullptr, nullptr, enc) == 1 &&
         EVP_CIPHER_CTX_ctrl(ctx, EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(kNonceSize), nullptr) == 1 &&
         EVP_CipherInit_ex(ctx, nullptr, nullptr, key.data(), nonce.data(), enc) == 1;
}

}  // namespace

Result<Bytes> RandomBytes(std::size_t count) {
  Bytes out(count);
  if (count && RAND_bytes(out.data(), static_cast<int>(count)) != 1) return Fail("no random bytes");
  return out;
}

Result<SealKey> DerivePasswordKey(std::string_view password, const Bytes& salt, std::uint32_t iterations) {
  if (iterations == 0 || iterations > kMaxIterations) return Fail("key iterations out of range", ErrorKind::Malformed);
  SealKey key{};
  if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), Data(salt), static_cast<int>(salt.size()),
                        static_cast<int>(iterations), EVP_sha256(), static_cast<int>(key.size()), key.data()) != 1)
    return Fail("key derivation failed");
  return key;
}

std::string Base64Encode(const Bytes& bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3), '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), Data(bytes), static_cast<int>(bytes.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

Result<Bytes> Base64Decode(std::string_view text) {
  std::size_t padding = 0;
  while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') ++padding;
  if (text.size() % 4 != 0) return Fail("base64 of the wrong length", ErrorKind::Malformed);
  for (std::size_t i = 0; i + padding < text.size(); ++i) {
    const char c = text[i];
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '/') return Fail("not base64", ErrorKind::Malformed);
  }
  Bytes out(text.size() / 4 * 3);
  const int n = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  if (n < 0) return Fail("not base64", ErrorKind::Malformed);
  out.resize(static_cast<std::size_t>(n) - padding);  // the padding decodes as zero bytes
  return out;
}

std::string PayloadJson(const SealedPayload& payload) {
  nlohmann::ordered_json j;
  j["version"] = payload.version;
  j["iterations"] = payload.iterations;
  j["salt"] = Base64Encode(payload.salt);
  j["nonce"] = Base64Encode(payload.nonce);
  j["ciphertext"] = Base64Encode(payload.ciphertext);
  return j.dump();
}

Result<SealedPayload> ParsePayloadJson(std::string_view json) {
  const auto j = nlohmann::json::parse(json, nullptr, false);
  if (!j.is_object()) return Fail("not a sealed payload", ErrorKind::Malformed);
  const auto field = [&](const char* key) -> const nlohmann::json* {
    auto it = j.find(key);
    return it == j.end() ? nullptr : &*it;
  };
  const auto* version = field("version");
  const auto* iterations = field("iterations");
  if (!version || !version->is_number_integer() || version->get<int>() != kSealedPayloadVersion)
    return Fail("unknown payload version", ErrorKind::Malformed);
  if (!iterations || !iterations->is_number_unsigned() || iterations->get<std::uint64_t>() == 0 ||
      iterations->get<std::uint64_t>() > kMaxIterations)
    return Fail("payload iterations out of range", ErrorKind::Malformed);
  SealedPayload p;
  p.iterations = iterations->get<std::uint32_t>();
  for (auto [key, into] : {std::pair{"salt", &p.salt}, {"nonce", &p.nonce}, {"ciphertext", &p.ciphertext}}) {
    const auto* text = field(key);
    if (!text || !text->is_string()) return Fail(std::string("payload without ") + key, ErrorKind::Malformed);
    auto bytes = Base64Decode(text->get_ref<const std::string&>());
    if (!bytes) return bytes.failure();
    *into = std::move(*bytes);
  }
  if (p.salt.size() != kSaltSize || p.nonce.size() != kNonceSize || p.ciphertext.size() < kTagSize)
    return Fail("payload of the wrong sizes", ErrorKind::Malformed);
  return p;
}

PasswordSealer::~PasswordSealer() {
  for (auto& [id, key] : keys_) OPENSSL_cleanse(key.data(), key.size());
  OPENSSL_cleanse(password_.data(), password_.size());
}

Result<SealKey> PasswordSealer::KeyFor(const Bytes& salt, std::uint32_t iterations) {
  auto it = keys_.find({salt, iterations});
  if (it != keys_.end()) return it->second;
  auto key = DerivePasswordKey(password_, salt, iterations);
  if (key) keys_.emplace(std::pair{salt, iterations}, *key);
  return key;
}

Result<SealedPayload> PasswordSealer::Seal(std::string_view plain) {
  auto salt = RandomBytes(kSaltSize);
  if (!salt) return salt.failure();
  return SealWithSalt(plain, *salt);
}

Result<SealedPayload> PasswordSealer::SealWithSalt(std::string_view plain, const Bytes& salt) {
  auto key = KeyFor(salt, iterations_);
  if (!key) return key.failure();
  auto nonce = RandomBytes(kNonceSize);
  if (!nonce) return nonce.failure();
  SealedPayload p;
  p.iterations = iterations_;
  p.salt = salt;
  p.nonce = std::move(*nonce);
  p.ciphertext.resize(plain.size() + kTagSize);
  CipherContext ctx = NewContext();
  int written = 0, last = 0;
  const bool ok =
      StartGcm(ctx.get(), *key, p.nonce, true) &&
      EVP_EncryptUpdate(ctx.get(), p.ciphertext.data(), &written, reinterpret_cast<const unsigned char*>(plain.data()),
                        static_cast<int>(plain.size())) == 1 &&
      EVP_EncryptFinal_ex(ctx.get(), p.ciphertext.data() + written, &last) == 1 &&
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, static_cast<int>(kTagSize),
                          p.ciphertext.data() + plain.size()) == 1;
  OPENSSL_cleanse(key->data(), key->size());
  if (!ok) return Fail("encryption failed");
  return p;
}

Result<std::string> PasswordSealer::Open(const SealedPayload& p) {
  if (p.ciphertext.size() < kTagSize || p.nonce.size() != kNonceSize) return Fail("payload too short", ErrorKind::Malformed);
  auto key = KeyFor(p.salt, p.iterations);
  if (!key) return key.failure();
  const std::size_t size = p.ciphertext.size() - kTagSize;
  std::string plain(size, '\0');
  Bytes tag(p.ciphertext.end() - kTagSize, p.ciphertext.end());
  CipherContext ctx = NewContext();
  int written = 0, last = 0;
  const bool ok =
      StartGcm(ctx.get(), *key, p.nonce, false) &&
      EVP_DecryptUpdate(ctx.get(), reinterpret_cast<unsigned char*>(plain.data()), &written, Data(p.ciphertext),
                        static_cast<int>(size)) == 1 &&
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, static_cast<int>(kTagSize), tag.data()) == 1 &&
      EVP_DecryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char*>(plain.data()) + written, &last) == 1;
  OPENSSL_cleanse(key->data(), key->size());
  if (!ok) {
    OPENSSL_cleanse(plain.data(), plain.size());
    return Fail("wrong password or damaged payload", ErrorKind::Malformed);
  }
  return plain;
}

}  // namespace linvara
