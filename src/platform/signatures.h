#pragma once
// Detached signatures, checked with the machine's own cryptography: whatever the program
// starts from the network must carry one. The format is the one `openssl dgst -sha256 -sign`
// writes: RSA PKCS#1 v1.5 over the SHA-256 of the exact bytes, the signature as raw bytes,
// most significant first.
#include <string_view>

namespace qm::platform {

// Keys shorter than this are refused whatever they sign: they can be factored.
inline constexpr unsigned kSmallestRsaKeyBits = 2048;

class Signatures {
  public:
    virtual ~Signatures() = default;
    // True only when `signature` is a good signature over `data` by the RSA key in
    // `public_key_pem` (a PEM "PUBLIC KEY", as `openssl pkey -pubout` writes it) of at least
    // kSmallestRsaKeyBits. Anything malformed (no key, another kind of key, a signature of
    // the wrong length) is simply not good.
    virtual bool IsSignedBy(std::string_view public_key_pem, std::string_view data,
                            std::string_view signature) = 0;
};

}  // namespace qm::platform
