#include "crypto/EncryptionRecords.h"

#include "crypto/EncryptedPage.h"

namespace linvara {

namespace {

// The text of a record field: opened when sealed, as it is when plain.
std::optional<std::string> OpenField(const DictPtr& record, const char* key, PasswordSealer& sealer) {
  const auto text = record->getString(key);
  if (!text) return std::nullopt;
  auto sealed = ParsePayloadJson(*text);
  if (!sealed) return *text;
  auto opened = sealer.Open(*sealed);
  if (!opened) return std::nullopt;
  return *opened;
}

}  // namespace

Result<DictPtr> MakeSealedRecord(PasswordSealer& sealer, const Bytes& salt, const std::string& title,
                                 const std::string& url, const std::string& pagePath) {
  auto sealedTitle = sealer.SealWithSalt(title, salt);
  if (!sealedTitle) return sealedTitle.failure();
  auto sealedUrl = sealer.SealWithSalt(url, salt);
  if (!sealedUrl) return sealedUrl.failure();
  DictPtr record = Dictionary::make();
  record->set(recordkeys::kTitle, PayloadJson(*sealedTitle));
  record->set(recordkeys::kUrl, PayloadJson(*sealedUrl));
  record->set(recordkeys::kTheUrl, pagePath);
  return record;
}

std::optional<OpenedRecord> FindOpenedRecord(const ArrayPtr& records, const std::string& bookmarkUrl,
                                             PasswordSealer& sealer) {
  if (!records) return std::nullopt;
  for (const Value& entry : *records) {
    const DictPtr record = entry.asDict();
    const auto pagePath = record ? record->getString(recordkeys::kTheUrl) : std::nullopt;
    if (!pagePath || FileUrlOfPath(*pagePath) != bookmarkUrl) continue;
    auto title = OpenField(record, recordkeys::kTitle, sealer);
    auto url = OpenField(record, recordkeys::kUrl, sealer);
    if (!title || !url) return std::nullopt;
    return OpenedRecord{std::move(*title), std::move(*url)};
  }
  return std::nullopt;
}

ArrayPtr SealPlainRecords(const ArrayPtr& records, PasswordSealer& sealer) {
  if (!records) return nullptr;
  auto salt = RandomBytes(kSaltSize);
  ArrayPtr sealed = Array::make();
  bool changed = false;
  for (const Value& entry : *records) {
    DictPtr record = entry.asDict();
    if (record) {
      DictPtr copy = record->copy();
      for (const char* key : {recordkeys::kTitle, recordkeys::kUrl}) {
        const auto text = record->getString(key);
        if (!text || !salt || ParsePayloadJson(*text)) continue;
        auto payload = sealer.SealWithSalt(*text, *salt);
        if (!payload) continue;
        copy->set(key, PayloadJson(*payload));
        changed = true;
      }
      sealed->append(copy);
    } else {
      sealed->append(entry);
    }
  }
  return changed ? sealed : nullptr;
}

}  // namespace linvara
