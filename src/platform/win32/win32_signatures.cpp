#include "platform/win32/win32_signatures.h"

#include "platform/win32/windows_api.h"
// After windows.h, which it needs.
#include <wincrypt.h>

#include <cstring>
#include <limits>
#include <vector>

#include "platform/win32/scoped_handle.h"

namespace qm::win32 {

namespace {

struct ProviderTraits {
    using Handle = HCRYPTPROV;
    static Handle Invalid() { return 0; }
    static bool IsValid(Handle h) { return h != 0; }
    static void Close(Handle h) { ::CryptReleaseContext(h, 0); }
};
struct KeyTraits {
    using Handle = HCRYPTKEY;
    static Handle Invalid() { return 0; }
    static bool IsValid(Handle h) { return h != 0; }
    static void Close(Handle h) { ::CryptDestroyKey(h); }
};
struct HashTraits {
    using Handle = HCRYPTHASH;
    static Handle Invalid() { return 0; }
    static bool IsValid(Handle h) { return h != 0; }
    static void Close(Handle h) { ::CryptDestroyHash(h); }
};
struct LocalTraits {
    using Handle = void*;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::LocalFree(h); }
};

constexpr DWORD kLargest = std::numeric_limits<DWORD>::max();
// Hidden from a build for XP without service packs; the provider of SP3 knows it.
constexpr ALG_ID kSha256 = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;

// The DER of a PEM "PUBLIC KEY". crypt32 takes any PEM header; only this one holds a
// SubjectPublicKeyInfo, and it is the only one the other backend reads too.
bool PublicKeyDer(std::string_view pem, std::vector<BYTE>& der) {
    if (pem.size() > 64 * 1024 || pem.find("-----BEGIN PUBLIC KEY-----") == std::string_view::npos)
        return false;
    const auto length = static_cast<DWORD>(pem.size());
    DWORD size = 0;
    if (!::CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, nullptr, &size,
                                nullptr, nullptr))
        return false;
    der.resize(size);
    return ::CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, der.data(), &size,
                                  nullptr, nullptr) != FALSE;
}

}  // namespace

bool Win32Signatures::IsSignedBy(std::string_view public_key_pem, std::string_view data,
                                 std::string_view signature) {
    std::vector<BYTE> der;
    if (data.size() >= kLargest || signature.empty() || !PublicKeyDer(public_key_pem, der))
        return false;
    void* decoded = nullptr;
    DWORD decoded_size = 0;
    if (!::CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(),
                               static_cast<DWORD>(der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr,
                               &decoded, &decoded_size))
        return false;
    const ScopedHandle<LocalTraits> info_memory(decoded);
    auto* info = static_cast<CERT_PUBLIC_KEY_INFO*>(decoded);
    if (!info->Algorithm.pszObjId || std::strcmp(info->Algorithm.pszObjId, szOID_RSA_RSA) != 0)
        return false;

    ScopedHandle<ProviderTraits> provider;
    if (!::CryptAcquireContextW(provider.receive(), nullptr, nullptr, PROV_RSA_AES,
                                CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
        return false;
    ScopedHandle<KeyTraits> key;
    if (!::CryptImportPublicKeyInfo(provider.get(), X509_ASN_ENCODING, info, key.receive()))
        return false;
    DWORD bits = 0;
    DWORD bits_size = sizeof bits;
    if (!::CryptGetKeyParam(key.get(), KP_KEYLEN, reinterpret_cast<BYTE*>(&bits), &bits_size, 0) ||
        bits < platform::kSmallestRsaKeyBits || signature.size() != (bits + 7) / 8)
        return false;

    ScopedHandle<HashTraits> hash;
    if (!::CryptCreateHash(provider.get(), kSha256, 0, 0, hash.receive()) ||
        !::CryptHashData(hash.get(), reinterpret_cast<const BYTE*>(data.data()),
                         static_cast<DWORD>(data.size()), 0))
        return false;
    // CryptoAPI keeps big numbers least significant byte first; openssl writes them the
    // other way round.
    std::vector<BYTE> reversed(signature.rbegin(), signature.rend());
    return ::CryptVerifySignatureW(hash.get(), reversed.data(), static_cast<DWORD>(reversed.size()),
                                   key.get(), nullptr, 0) != FALSE;
}

}  // namespace qm::win32
