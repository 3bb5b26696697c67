#include "crypto/EncryptionController.h"

#include <set>

#include "app/Outlets.h"
#include "crypto/EncryptedPage.h"
#include "crypto/EncryptionRecords.h"
#include "crypto/PasswordVerifier.h"
#include "edit/SafariTreeRebuild.h"
#include "edit/TreeCommit.h"

namespace linvara {

namespace {

std::string Describe(const NodePtr& node, const std::string& reason) {
  return node->thetitle().value_or(node->urlString().value_or("(untitled)")) + ": " + reason;
}

EncryptionOutcome PasswordNotTyped() {
  EncryptionOutcome outcome;
  outcome.writeFailure = Fail("the password has not been typed");
  return outcome;
}

std::string TypedText(const ViewState& state, const char* field) {
  const TextState* t = state.findText(field);
  return t ? t->text : std::string();
}

}  // namespace

// ---- Commands of the window ----

NodeList EncryptionController::SelectedBookmarks(bool encryptedOnly) const {
  NodeList taken;
  for (const NodePtr& node : session_.viewState().bookmarkTable.selectedNodes())
    if (node && node->isLeaf() && (!encryptedOnly || node->bEncrytedBookmark())) taken.push_back(node);
  return taken;
}

void EncryptionController::OpenPasswordWindow(bool forEncrypting) {
  session_.screen().ShowWindow(outlets::kEnterPDWindow, false);
  isEnterEncryptMode = forEncrypting;
  isEnterDecryptMode = !forEncrypting;
}

bool EncryptionController::EncryptedSelectedBookMarkAction() {
  // The rewrite is built from the Safari tree: the Safari view only.
  if (session_.bookMarkType != ViewKind::Safari) return false;
  const NodeList taken = SelectedBookmarks(false);
  if (taken.empty()) return false;
  if (!HasStoredPassword()) {
    session_.screen().ShowWindow(cryptooutlets::kCreatePWWindow, true);
    return true;
  }
  if (!hasEnterEncryptedPasswd || !sealer_) {
    OpenPasswordWindow(true);
    return true;
  }
  TellRefusals(EncryptBookmarks(taken), "encrypted");
  return true;
}

bool EncryptionController::DecrypteSelectedBookMarkAction() {
  if (session_.bookMarkType != ViewKind::Safari) return false;
  if (!hasEnterDecryptedPasswd || !sealer_) {
    OpenPasswordWindow(false);
    return true;
  }
  const NodeList taken = SelectedBookmarks(true);
  if (taken.empty()) return false;
  TellRefusals(DecryptBookmarks(taken), "decrypted");
  return true;
}

void EncryptionController::TellRefusals(const EncryptionOutcome& outcome, const char* what) {
  std::string details;
  for (const std::string& line : outcome.refused) details += (details.empty() ? "" : "\n") + line;
  if (outcome.writeFailure) {
    session_.ShowMessage("The Safari working copy could not be written; no bookmark was changed.", false,
                         outcome.writeFailure->message);
  } else if (!details.empty()) {
    session_.ShowMessage(std::string("Some bookmarks were not ") + what + ".", false, details);
  }
}

void EncryptionController::CreatePasswordAction() {
  const std::string password = TypedText(session_.viewState(), cryptooutlets::kTheCreatePWLab);
  const std::string confirmation = TypedText(session_.viewState(), cryptooutlets::kTheConfirmPWLab);
  if (password == confirmation) {
    session_.screen().CloseWindow(cryptooutlets::kCreatePWWindow);
    session_.UpdateView(viewsection::kTexts, [](ViewState& s) {
      s.text(cryptooutlets::kTheCreatePWLab).text.clear();
      s.text(cryptooutlets::kTheConfirmPWLab).text.clear();
      s.text(outlets::kWarnCreatedpasscodelab).hidden = true;
    });
    if (auto created = CreatePassword(password); !created) {
      session_.ShowMessage("The password could not be stored.", false, created.error());
      return;
    }
    EncryptedSelectedBookMarkAction();  // now asks for the new password once
    return;
  }
  session_.UpdateView(viewsection::kTexts, [](ViewState& s) {
    s.text(outlets::kWarnCreatedpasscodelab).hidden = false;
    s.text(cryptooutlets::kTheConfirmPWLab).text.clear();
  });
  session_.screen().ShakeWindow(cryptooutlets::kCreatePWWindow);
}

void EncryptionController::CancleCreatePasswordAction() {
  session_.screen().CloseWindow(cryptooutlets::kCreatePWWindow);
  session_.UpdateView(viewsection::kTexts, [](ViewState& s) {
    s.text(cryptooutlets::kTheCreatePWLab).text.clear();
    s.text(cryptooutlets::kTheConfirmPWLab).text.clear();
  });
}

void EncryptionController::EnterPasswordPressed() {
  const std::string typed = TypedText(session_.viewState(), outlets::kEnterPWLab);
  const bool right = AcceptPassword(typed);
  session_.UpdateView(viewsection::kTexts, [right](ViewState& s) {
    s.text(outlets::kEnterPDWarnLab).hidden = right;
    s.text(outlets::kEnterPWLab).text.clear();
  });
  if (!right) {
    session_.screen().ShakeWindow(outlets::kEnterPDWindow);
    return;
  }
  session_.screen().CloseWindow(outlets::kEnterPDWindow);
  if (isEnterEncryptMode) {
    hasEnterEncryptedPasswd = true;
    EncryptedSelectedBookMarkAction();
  }
  if (isEnterDecryptMode) {
    hasEnterDecryptedPasswd = true;
    DecrypteSelectedBookMarkAction();
  }
}

// ---- The password ----

bool EncryptionController::HasStoredPassword() const {
  return session_.preferences().getString(prefkeys::kLinvaraPassword).has_value();
}

Result<void> EncryptionController::CreatePassword(const std::string& password) {
  if (HasStoredPassword()) return Fail("a password is stored already");
  auto verifier = MakePasswordVerifier(password, keyIterations);
  if (!verifier) return verifier.failure();
  return session_.preferences().set(prefkeys::kLinvaraPassword, Value(*verifier));
}

bool EncryptionController::AcceptPassword(const std::string& typed) {
  const auto stored = session_.preferences().getString(prefkeys::kLinvaraPassword);
  if (!stored) return false;
  const PasswordCheck check = CheckPassword(*stored, typed);
  if (!check.matches) return false;
  sealer_.emplace(typed, keyIterations);
  Preferences& prefs = session_.preferences();
  if (check.storedInPlainText) {
    if (auto verifier = MakePasswordVerifier(typed, keyIterations)) (void)prefs.set(prefkeys::kLinvaraPassword, Value(*verifier));
  }
  if (ArrayPtr sealed = SealPlainRecords(prefs.get(prefkeys::kLinvaraStoreData).asArray(), *sealer_))
    (void)prefs.set(prefkeys::kLinvaraStoreData, Value(sealed));
  return true;
}

Result<std::string> EncryptionController::getEncryptedHtmlContent(const std::string& address,
                                                                  const std::string& password) const {
  PasswordSealer sealer(password, keyIterations);
  auto sealed = sealer.Seal(address);
  if (!sealed) return sealed.failure();
  return PayloadJson(*sealed);
}

// ---- The work ----

std::optional<Error> EncryptionController::Commit(const NodeList& edited,
                                                  const std::vector<std::pair<OptString, OptString>>& former) {
  const BookmarkLists& lists = session_.lists();
  const ArrayPtr children =
      EditManyBookMarkfromSafariBookMarkWithArray(lists, AncestorsOf(edited, lists.rootNode), edited);
  auto committed = CommitSafariTree(session_, children);
  if (committed) return std::nullopt;
  for (std::size_t i = 0; i < edited.size(); ++i) {
    edited[i]->setThetitle(former[i].first);
    edited[i]->setUrlString(former[i].second);
  }
  return committed.failure();
}

EncryptionOutcome EncryptionController::EncryptBookmarks(const NodeList& bookmarks) {
  if (!sealer_) return PasswordNotTyped();
  EncryptionOutcome outcome;
  const std::filesystem::path dataFolder = session_.locations().dataFolder();
  Preferences& prefs = session_.preferences();
  const ArrayPtr stored = prefs.get(prefkeys::kLinvaraStoreData).asArray();
  ArrayPtr records = stored ? stored->copy() : Array::make();
  auto salt = RandomBytes(kSaltSize);
  std::vector<std::pair<OptString, OptString>> former;
  std::set<const PRBookMarkNode*> seen;
  for (const NodePtr& node : bookmarks) {
    if (!node || !node->isLeaf() || node->bEncrytedBookmark() || !seen.insert(node.get()).second) continue;
    const std::string uuid = node->bookMarkUUID().value_or("");
    if (!IsSafePageUuid(uuid)) {
      outcome.refused.push_back(Describe(node, "its identifier cannot name a folder"));
      continue;
    }
    const OptString title = node->thetitle(), url = node->urlString();
    auto payload = salt ? sealer_->SealWithSalt(url.value_or(""), *salt) : Result<SealedPayload>(salt.failure());
    auto record = salt ? MakeSealedRecord(*sealer_, *salt, title.value_or(""), url.value_or(""),
                                          PageFile(dataFolder, uuid).string())
                       : Result<DictPtr>(salt.failure());
    if (!payload || !record) {
      outcome.refused.push_back(Describe(node, payload ? record.error() : payload.error()));
      continue;
    }
    if (auto page = WritePageFolder(dataFolder, uuid, PayloadJson(*payload)); !page) {
      outcome.refused.push_back(Describe(node, page.error()));
      continue;
    }
    records->append(*record);
    former.emplace_back(title, url);
    if (title) node->setThetitle(std::string(kEncryptedBookmarkTitle));
    if (url) node->setUrlString(FileUrlOfPath(PageFile(dataFolder, uuid)));
    outcome.changed.push_back(node);
  }
  if (outcome.changed.empty()) return outcome;
  (void)prefs.set(prefkeys::kLinvaraStoreData, Value(records));
  outcome.writeFailure = Commit(outcome.changed, former);
  return outcome;
}

EncryptionOutcome EncryptionController::DecryptBookmarks(const NodeList& bookmarks) {
  if (!sealer_) return PasswordNotTyped();
  EncryptionOutcome outcome;
  const std::filesystem::path dataFolder = session_.locations().dataFolder();
  const ArrayPtr records = session_.preferences().get(prefkeys::kLinvaraStoreData).asArray();
  std::vector<std::pair<OptString, OptString>> former;
  std::vector<std::string> pages;
  std::set<const PRBookMarkNode*> seen;
  for (const NodePtr& node : bookmarks) {
    if (!node || !node->isLeaf() || !node->bEncrytedBookmark() || !seen.insert(node.get()).second) continue;
    const std::string uuid = node->bookMarkUUID().value_or("");
    if (!IsSafePageUuid(uuid)) {
      outcome.refused.push_back(Describe(node, "its identifier cannot name a folder"));
      continue;
    }
    const OptString title = node->thetitle(), url = node->urlString();
    OptString newTitle, newUrl;
    if (auto record = FindOpenedRecord(records, url.value_or(""), *sealer_)) {
      newTitle = record->title;
      newUrl = record->url;
    } else if (auto payload = ReadPagePayload(dataFolder, uuid)) {
      // No record: the page still holds the address; the title stays.
      auto sealed = ParsePayloadJson(*payload);
      auto opened = sealed ? sealer_->Open(*sealed) : Result<std::string>(sealed.failure());
      if (!opened) {
        outcome.refused.push_back(Describe(node, "no record, and its page does not open with the password"));
        continue;
      }
      newTitle = title;
      newUrl = *opened;
    } else {
      newTitle = std::string();
      newUrl = std::string();
    }
    former.emplace_back(title, url);
    if (title) node->setThetitle(newTitle);
    if (url) node->setUrlString(newUrl);
    outcome.changed.push_back(node);
    pages.push_back(uuid);
  }
  if (outcome.changed.empty()) return outcome;
  outcome.writeFailure = Commit(outcome.changed, former);
  // The pages go only once the working copy no longer points to them.
  if (!outcome.writeFailure)
    for (const std::string& uuid : pages) (void)RemovePageFolder(dataFolder, uuid);
  return outcome;
}

}  // namespace linvara
