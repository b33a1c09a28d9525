#pragma once
// Signatures on the simulated machine, checked by OpenSSL: the same verdicts Windows'
// cryptography gives, so the updater's tests on Linux meet real keys and real signatures.
#include "platform/signatures.h"

namespace qm::sim {

class SimSignatures final : public platform::Signatures {
  public:
    bool IsSignedBy(std::string_view public_key_pem, std::string_view data,
                    std::string_view signature) override;
};

}  // namespace qm::sim
