#pragma once
// The records of "LinvaraStoreData": one dictionary per encryption ever made,
// {"Title", "Url", "TheUrl"}. "Title" and "Url" hold sealed payloads (see
// PasswordCipher.h); a record of an earlier version holds them in plain text
// and is sealed the next time the password is known. "TheUrl" is the plain
// path of the bookmark's page.
#include <optional>
#include <string>

#include "crypto/PasswordCipher.h"
#include "model/Value.h"

namespace linvara {

namespace recordkeys {
inline constexpr const char* kTitle = "Title";
inline constexpr const char* kUrl = "Url";
inline constexpr const char* kTheUrl = "TheUrl";
}  // namespace recordkeys

// A new record with title and address sealed under `salt`.
Result<DictPtr> MakeSealedRecord(PasswordSealer& sealer, const Bytes& salt, const std::string& title,
                                 const std::string& url, const std::string& pagePath);

struct OpenedRecord {
  std::string title;
  std::string url;
};

// The title and address of the first record whose page path, as a file URL,
// equals `bookmarkUrl`; nullopt when no record matches or its fields do not open.
std::optional<OpenedRecord> FindOpenedRecord(const ArrayPtr& records, const std::string& bookmarkUrl,
                                             PasswordSealer& sealer);

// A copy of the records with every plain-text title and address sealed (under
// one fresh salt); null when none was plain. A field that cannot be sealed stays as it is.
ArrayPtr SealPlainRecords(const ArrayPtr& records, PasswordSealer& sealer);

}  // namespace linvara
