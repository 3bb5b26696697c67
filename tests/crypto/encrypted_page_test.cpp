// Sealing texts with a password, the stored verifier and the records; the page folder of an encrypted
// bookmark, which only a safe UUID names and which is deleted only while it holds just the page.
#include <gtest/gtest.h>

#include "crypto/EncryptedPage.h"
#include "crypto/EncryptionRecords.h"
#include "crypto/PasswordCipher.h"
#include "crypto/PasswordVerifier.h"
#include "model/PropertyList.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace linvara::testing {
namespace {

constexpr std::uint32_t kFewIterations = 1000;

std::string Hex(const SealKey& key) {
  std::string out;
  for (unsigned char c : key) out += "0123456789abcdef"[c >> 4], out += "0123456789abcdef"[c & 15];
  return out;
}

TEST(Sealing, KeyDerivationMatchesPublishedVectors) {
  const Bytes salt = {'s', 'a', 'l', 't'};
  const struct { std::uint32_t iterations; const char* key; } cases[] = {
      {1, "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"},
      {4096, "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a"}};
  for (const auto& c : cases) EXPECT_EQ(Hex(*DerivePasswordKey("password", salt, c.iterations)), c.key);
  EXPECT_FALSE(DerivePasswordKey("password", salt, 0));
}

// Whatever is sealed opens with the same password only, and not after any change.
TEST(Sealing, OnlyTheRightPasswordOpensAnUnchangedPayload) {
  PasswordSealer sealer("correct horse", kFewIterations);
  PasswordSealer wrong("correct hors", kFewIterations);
  for (const std::string text : {"https://example.com/a?b=c", "", "https://例え.jp/パス"}) {
    auto sealed = sealer.Seal(text);
    ASSERT_TRUE(sealed);
    const std::string json = PayloadJson(*sealed);
    EXPECT_EQ(json.find(text.empty() ? "\x01" : text), std::string::npos);
    auto parsed = ParsePayloadJson(json);
    ASSERT_TRUE(parsed) << json;
    EXPECT_EQ(PasswordSealer("correct horse", 1).Open(*parsed).valueOr("failed"), text);
    EXPECT_FALSE(wrong.Open(*parsed));
    parsed->ciphertext.front() ^= 1;
    EXPECT_FALSE(sealer.Open(*parsed));
  }
  // Two sealings of one text share nothing an observer could match.
  EXPECT_NE(PayloadJson(*sealer.Seal("same")), PayloadJson(*sealer.Seal("same")));
}

TEST(Sealing, MalformedPayloadsAreRefused) {
  const std::string salt = Base64Encode(Bytes(16, 1)), nonce = Base64Encode(Bytes(12, 2)), text = Base64Encode(Bytes(20, 3));
  const auto json = [&](const std::string& version, const std::string& iterations, const std::string& s) {
    return "{\"version\":" + version + ",\"iterations\":" + iterations + ",\"salt\":\"" + s + "\",\"nonce\":\"" +
           nonce + "\",\"ciphertext\":\"" + text + "\"}";
  };
  EXPECT_TRUE(ParsePayloadJson(json("1", "600000", salt)));
  for (const std::string& bad : {json("2", "600000", salt), json("1", "0", salt), json("1", "99999999999", salt),
                                 json("1", "-5", salt), json("1", "600000", Base64Encode(Bytes(8, 1))),
                                 json("1", "600000", "@@@@"), json("1", "600000", "AAAAAAAAAAAAAAAAAAAAAA="),
                                 json("1", "600000", "AA=A" + salt.substr(4)), std::string("[104,116]"), std::string("")})
    EXPECT_FALSE(ParsePayloadJson(bad)) << bad;
}

TEST(Sealing, VerifierChecksThePasswordWithoutHoldingIt) {
  const std::string verifier = *MakePasswordVerifier("s3cret", kFewIterations);
  EXPECT_EQ(verifier.rfind("pbkdf2-sha256$1000$", 0), 0u);
  EXPECT_EQ(verifier.find("s3cret"), std::string::npos);
  const struct { std::string stored, typed; bool matches, plain; } cases[] = {
      {verifier, "s3cret", true, false},  {verifier, "s3cre", false, false},  {verifier, "", false, false},
      {"s3cret", "s3cret", true, true},    {"s3cret", "S3cret", false, true},  {"", "", true, true},
      {"pbkdf2-sha256$1000$AAAA", "s3cret", false, false}, {"pbkdf2-sha256$x$AAAA$AAAA", "", false, false}};
  for (const auto& c : cases) {
    const PasswordCheck check = CheckPassword(c.stored, c.typed);
    EXPECT_EQ(check.matches, c.matches) << c.stored << " / " << c.typed;
    EXPECT_EQ(check.storedInPlainText, c.plain) << c.stored;
  }
}

TEST(Records, FirstMatchingRecordOpensSealedOrPlainAndPlainOnesGetSealed) {
  PasswordSealer sealer("pw", kFewIterations);
  const std::string page = "/Users/u/Library/Application Support/Linvara/AB-1/encrypt.html";
  const std::string url = "file:///Users/u/Library/Application%20Support/Linvara/AB-1/encrypt.html";
  DictPtr plain = Dictionary::make();
  plain->set("Title", "Old"), plain->set("Url", "http://old.example"), plain->set("TheUrl", page);
  ArrayPtr records = Array::make();
  records->append(plain);
  records->append(*MakeSealedRecord(sealer, Bytes(16, 7), "News", "https://news.example", page));
  EXPECT_EQ(FindOpenedRecord(records, url, sealer)->url, "http://old.example");
  EXPECT_FALSE(FindOpenedRecord(records, url + "x", sealer));

  ArrayPtr sealed = SealPlainRecords(records, sealer);
  ASSERT_TRUE(sealed);
  const std::string stored = *SerializePropertyListXml(Value(sealed));
  for (const char* secret : {"Old", "old.example", "News", "news.example"}) EXPECT_EQ(stored.find(secret), std::string::npos);
  EXPECT_NE(stored.find(page), std::string::npos);
  const auto found = FindOpenedRecord(sealed, url, sealer);
  EXPECT_EQ(found->title + " " + found->url, "Old http://old.example");
  sealed->removeAt(0);
  EXPECT_EQ(FindOpenedRecord(sealed, url, sealer)->title, "News");
  EXPECT_EQ(SealPlainRecords(sealed, sealer), nullptr) << "nothing plain is left";
}


TEST(PageFolder, OnlyOnePlainPathComponentIsASafeUuid) {
  for (const char* uuid : {"3B5E1B2A-7F7C-4C55-9E3E-0A8C1D2E4F60", "a", "0-0"}) EXPECT_TRUE(IsSafePageUuid(uuid)) << uuid;
  for (const std::string& uuid : std::vector<std::string>{"", "..", "../../x", "a/b", "a b", "a.b", "a\\b", std::string(65, 'a'),
                                 std::string("a\0b", 3), "ä"})
    EXPECT_FALSE(IsSafePageUuid(uuid)) << uuid;
}

TEST(PageFolder, FileUrlEncodesAllButThePathCharacters) {
  EXPECT_EQ(FileUrlOfPath("/Users/a b/Library/Application Support/Linvara/X-1/encrypt.html"),
            "file:///Users/a%20b/Library/Application%20Support/Linvara/X-1/encrypt.html");
  EXPECT_EQ(FileUrlOfPath("/tmp/%#?é"), "file:///tmp/%25%23%3F%C3%A9");
}

TEST(PageFolder, PageHoldsThePayloadWhereThePlaceholderWas) {
  TempDir dir;
  const fs::path data = dir / "data";
  ASSERT_TRUE(WritePageFolder(data, "AB-1", "{\"version\":1}"));
  const std::string page = ReadText(data / "AB-1" / "encrypt.html");
  EXPECT_EQ(page.find(kPagePlaceholder), std::string::npos);
  EXPECT_EQ(ReadPagePayload(data, "AB-1").valueOr(""), "{\"version\":1}");
  EXPECT_NE(ReadText(data / "AB-1" / "encrypt.js").find("setDecrypt"), std::string::npos);
  EXPECT_FALSE(ReadText(data / "AB-1" / "style.css").empty());
  EXPECT_EQ(ReadPagePayload(data, "AB-2").errorKind(), ErrorKind::NotFound);
}

// Nothing outside the data folder is written or deleted, whatever the UUID says.
TEST(PageFolder, UnsafeUuidTouchesNothing) {
  TempDir dir;
  const fs::path data = dir / "home" / "data";
  WriteText(dir / "home" / "x" / "encrypt.html", "keep");
  WriteText(data / "keep.txt", "keep");
  const std::string before = FolderFingerprint(dir.path());
  for (const char* uuid : {"../x", "../../home/x", "/abs", ".."}) {
    EXPECT_FALSE(WritePageFolder(data, uuid, "payload")) << uuid;
    EXPECT_FALSE(RemovePageFolder(data, uuid)) << uuid;
    EXPECT_FALSE(ReadPagePayload(data, uuid)) << uuid;
  }
  EXPECT_EQ(FolderFingerprint(dir.path()), before);
}

TEST(PageFolder, OnlyAFolderHoldingJustThePageIsDeleted) {
  TempDir dir;
  const fs::path data = dir / "data";
  fs::create_directories(dir / "elsewhere");
  const auto make = [&](const std::string& uuid) { ASSERT_TRUE(WritePageFolder(data, uuid, "p")); };
  make("extra-file");
  WriteText(data / "extra-file" / "notes.txt", "mine");
  make("linked-file");
  fs::remove(data / "linked-file" / "style.css");
  fs::create_symlink(dir / "elsewhere", data / "linked-file" / "style.css");
  fs::create_symlink(dir / "elsewhere", data / "linked-folder");
  make("plain");
  for (const char* uuid : {"extra-file", "linked-file", "linked-folder"}) {
    EXPECT_FALSE(RemovePageFolder(data, uuid)) << uuid;
    EXPECT_TRUE(fs::exists(fs::symlink_status(data / uuid))) << uuid;
  }
  EXPECT_TRUE(RemovePageFolder(data, "plain"));
  EXPECT_FALSE(fs::exists(data / "plain"));
  EXPECT_TRUE(RemovePageFolder(data, "plain")) << "already gone";
  EXPECT_TRUE(fs::is_directory(dir / "elsewhere"));
  EXPECT_FALSE(WritePageFolder(data, "linked-folder", "p")) << "no writing through a link";
}

}  // namespace
}  // namespace linvara::testing
