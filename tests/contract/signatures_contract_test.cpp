// Signature checks with keys and signatures openssl made for this build: the verdicts the
// updater relies on, alike on both machines.
#include <gtest/gtest.h>

#include "backend.h"
#include "signing_keys.h"

namespace qm::contract {
namespace {

using namespace testing::keys;

TEST(SignaturesContract, OnlyTheKeysOwnSignatureOverTheExactBytesIsGood) {
    const auto backend = MakeBackend();
    platform::Signatures& signatures = backend->signatures();
    EXPECT_TRUE(signatures.IsSignedBy(kTestPublic, kSample, kSampleByTest));
    // The key as an administrator pastes it into the registry: Windows line ends.
    std::string crlf;
    for (const char c : kTestPublic) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(signatures.IsSignedBy(crlf, kSample, kSampleByTest));

    std::string changed = kSample;
    changed[changed.size() / 2] ^= 0x01;
    std::string bent = kSampleByTest;
    bent.back() ^= 0x01;
    const std::string reversed(kSampleByTest.rbegin(), kSampleByTest.rend());
    std::string header = kTestPublic;
    header.replace(header.find("PUBLIC KEY"), 10, "CERTIFICATE");
    for (const auto& [key, data, signature, what] :
         {std::tuple{kTestPublic, changed, kSampleByTest, "one bit of the data"},
          {kTestPublic, kSample + "x", kSampleByTest, "a byte more"},
          {kTestPublic, kSample, bent, "one bit of the signature"},
          {kTestPublic, kSample, reversed, "the signature's bytes reversed"},
          {kTestPublic, kSample, kSampleByTest.substr(1), "a byte short"},
          {kTestPublic, kSample, kSampleByTest + '\0', "a byte long"},
          {kTestPublic, kSample, std::string(), "no signature"},
          {kTestPublic, kSample, kSampleByOther, "another key's signature"},
          {kOtherPublic, kSample, kSampleByTest, "checked with another key"},
          {kWeakPublic, kSample, kSampleByWeak, "a key too short to trust"},
          {header, kSample, kSampleByTest, "a key under another PEM header"},
          {kTestPublic.substr(0, 200), kSample, kSampleByTest, "half a key"},
          {std::string(), kSample, kSampleByTest, "no key"}})
        EXPECT_FALSE(signatures.IsSignedBy(key, data, signature)) << what;
}

}  // namespace
}  // namespace qm::contract
