#pragma once
// Signs as the maker's release does (openssl's SHA-256 with RSA, PKCS#1 v1.5), with the keys
// this build made: what the simulated site serves beside each update file.
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>
#include <string>
#include <string_view>

#include "signing_keys.h"

namespace qm::testing {

inline std::string SignedBy(const std::string& private_pem, std::string_view data) {
    const std::unique_ptr<BIO, decltype(&BIO_free)> pem(
        BIO_new_mem_buf(private_pem.data(), static_cast<int>(private_pem.size())), BIO_free);
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        PEM_read_bio_PrivateKey(pem.get(), nullptr, nullptr, nullptr), EVP_PKEY_free);
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          EVP_MD_CTX_free);
    std::string signature(static_cast<std::size_t>(EVP_PKEY_get_size(key.get())), '\0');
    std::size_t size = signature.size();
    EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get());
    EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                   reinterpret_cast<const unsigned char*>(data.data()), data.size());
    signature.resize(size);
    return signature;
}

}  // namespace qm::testing
