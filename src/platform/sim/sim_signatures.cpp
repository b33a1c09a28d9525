#include "platform/sim/sim_signatures.h"

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>

namespace qm::sim {

namespace {

template <class T, void (*Free)(T*)>
struct Freer {
    void operator()(T* p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Freer<EVP_PKEY, EVP_PKEY_free>>;
using Bio = std::unique_ptr<BIO, Freer<BIO, BIO_free_all>>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, Freer<EVP_MD_CTX, EVP_MD_CTX_free>>;

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

}  // namespace

bool SimSignatures::IsSignedBy(std::string_view public_key_pem, std::string_view data,
                               std::string_view signature) {
    if (public_key_pem.empty() || public_key_pem.size() > 64 * 1024) return false;
    const Bio pem(BIO_new_mem_buf(public_key_pem.data(), static_cast<int>(public_key_pem.size())));
    if (!pem) return false;
    const Key key(PEM_read_bio_PUBKEY(pem.get(), nullptr, nullptr, nullptr));
    if (!key || EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_RSA ||
        EVP_PKEY_get_bits(key.get()) < static_cast<int>(platform::kSmallestRsaKeyBits) ||
        signature.size() != static_cast<std::size_t>(EVP_PKEY_get_size(key.get())))
        return false;
    const DigestContext context(EVP_MD_CTX_new());
    // PKCS#1 v1.5 is what an RSA key verifies with unless told otherwise.
    return context &&
           EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
           EVP_DigestVerify(context.get(), Bytes(signature), signature.size(), Bytes(data),
                            data.size()) == 1;
}

}  // namespace qm::sim
