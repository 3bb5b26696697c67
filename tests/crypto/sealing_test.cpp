// Sealing texts with a password, the stored verifier and the records.
#include <gtest/gtest.h>

#include "crypto/EncryptedPage.h"
#include "crypto/EncryptionRecords.h"
#include "crypto/PasswordCipher.h"
#include "crypto/PasswordVerifier.h"
#include "model/PropertyList.h"

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

}  // namespace
}  // namespace linvara::testing
