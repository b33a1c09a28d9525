#pragma once
// Signatures checked by CryptoAPI: the key decoded by crypt32, the hash and the RSA check
// by the RSA-and-AES provider, the first of Windows' providers that knows SHA-256 (XP SP3).
#include "platform/signatures.h"

namespace qm::win32 {

class Win32Signatures final : public platform::Signatures {
  public:
    bool IsSignedBy(std::string_view public_key_pem, std::string_view data,
                    std::string_view signature) override;
};

}  // namespace qm::win32
