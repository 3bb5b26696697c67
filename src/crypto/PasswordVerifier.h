#pragma once
// What the preferences keep of the password: a verifier
// "pbkdf2-sha256$<iterations>$<salt>$<hash>" (salt and hash in base64), never
// the password. A store of an earlier version kept the password itself; it
// still verifies, and the caller then replaces it by a verifier.
#include <cstdint>
#include <string>
#include <string_view>

#include "crypto/PasswordCipher.h"
#include "model/Result.h"

namespace linvara {

Result<std::string> MakePasswordVerifier(std::string_view password, std::uint32_t iterations = kDefaultKeyIterations);

// Whether the stored text has the verifier's form (anything else is a plain password).
bool IsPasswordVerifier(std::string_view stored);

struct PasswordCheck {
  bool matches = false;
  bool storedInPlainText = false;  // matched a plain password: store a verifier now
};

// Compares in constant time. A verifier that does not parse matches nothing.
PasswordCheck CheckPassword(std::string_view stored, std::string_view typed);

}  // namespace linvara
