#pragma once
// Hiding the address of Safari bookmarks behind a password. An encrypted
// bookmark keeps its place in the Safari tree, takes the title "Encrypted
// Bookmark" and points to a page in the data folder that gives the address
// back, sealed with the password, when the password is typed in a browser.
// The former title and address are kept, sealed as well, in the records of
// "LinvaraStoreData"; the preferences keep only a verifier of the password.
// The password typed in this run stays in memory until the controller goes.
//
// Both directions rewrite the Safari working copy and read it back; they are
// offered in the Safari view only.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/BookmarkSession.h"
#include "crypto/PasswordCipher.h"
#include "model/Result.h"

namespace linvara {

namespace cryptooutlets {
inline constexpr const char* kCreatePWWindow = "CreatePWWindow";
inline constexpr const char* kTheCreatePWLab = "theCreatePWLab";
inline constexpr const char* kTheConfirmPWLab = "theConfirmPWLab";
}  // namespace cryptooutlets

inline constexpr const char* kEncryptedBookmarkTitle = "Encrypted Bookmark";

// What one encrypt or decrypt did.
struct EncryptionOutcome {
  NodeList changed;                   // the bookmarks written anew (nodes of the tree before the command)
  std::vector<std::string> refused;   // "title: reason" of each bookmark left as it was
  std::optional<Error> writeFailure;  // the working copy could not be written: nothing changed
  bool ok() const { return !writeFailure; }
};

class EncryptionController {
 public:
  explicit EncryptionController(BookmarkSession& session) : session_(session) {}
  EncryptionController(const EncryptionController&) = delete;
  EncryptionController& operator=(const EncryptionController&) = delete;

  // ---- Commands of the window ----
  // Encrypts the selected bookmarks of the Safari view, creating or asking for
  // the password first. False when it did nothing (another view, no bookmark selected).
  bool EncryptedSelectedBookMarkAction();
  // Restores the selected encrypted bookmarks, asking for the password first.
  bool DecrypteSelectedBookMarkAction();
  // The create-password sheet's buttons.
  void CreatePasswordAction();
  void CancleCreatePasswordAction();
  // The click on `enterPDButton`: checks the typed password and resumes the waiting command.
  void EnterPasswordPressed();

  // ---- The password ----
  bool HasStoredPassword() const;
  // Stores the verifier of a first password; fails when one is stored already.
  Result<void> CreatePassword(const std::string& password);
  // Checks the typed password against the stored one. A match keeps it for
  // the run, replaces a plain stored password by its verifier and seals plain records.
  bool AcceptPassword(const std::string& typed);
  bool PasswordKnown() const { return sealer_.has_value(); }

  // ---- The work, once the password is known ----
  // Encrypts the listed bookmarks of the current Safari tree (folders and
  // encrypted bookmarks are passed over), rewrites the working copy and reads it back.
  EncryptionOutcome EncryptBookmarks(const NodeList& bookmarks);
  // Restores the listed encrypted bookmarks, rewrites the working copy, reads it
  // back, and only then deletes their pages.
  EncryptionOutcome DecryptBookmarks(const NodeList& bookmarks);

  // The page payload of an address: sealed JSON (see PasswordCipher.h).
  Result<std::string> getEncryptedHtmlContent(const std::string& address, const std::string& password) const;

  // ---- Per-run state ----
  bool hasEnterEncryptedPasswd = false;
  bool hasEnterDecryptedPasswd = false;
  bool isEnterEncryptMode = false;
  bool isEnterDecryptMode = false;
  // PBKDF2 rounds of new pages, records and verifiers.
  std::uint32_t keyIterations = kDefaultKeyIterations;

 private:
  NodeList SelectedBookmarks(bool encryptedOnly) const;
  void OpenPasswordWindow(bool forEncrypting);
  // The working copy with `edited` written from their (already changed) title and address;
  // on failure the nodes get their former fields back.
  std::optional<Error> Commit(const NodeList& edited, const std::vector<std::pair<OptString, OptString>>& former);
  void TellRefusals(const EncryptionOutcome& outcome, const char* what);

  BookmarkSession& session_;
  std::optional<PasswordSealer> sealer_;
};

}  // namespace linvara
