#pragma once
// The Windows side of the loopback HTTPS servers (tests/https/with-loopback-server): where they
// left their files, the test authority trusted for as long as a test needs it, and the requests
// each server recorded.

#include <windows.h>

#include <wincrypt.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ovp::test {

inline constexpr unsigned short kTrustedHttpsPort = 11900;

// The servers' folder; empty when the test runs without them.
inline std::filesystem::path LoopbackHttpsFolder() {
    const char* folder = std::getenv("OVP_HTTPS_DIR");
    return folder == nullptr ? std::filesystem::path() : std::filesystem::path(folder);
}

// Trusts the test authority while it lives, in this (Wine) prefix only: its certificate goes into
// the machine's root store as a volatile registry entry, where the system's chain engine of every
// process started meanwhile finds it. (Wine keeps the machine's root store in a volatile key, under
// which the certificate store functions cannot add an entry of their own.)
class TrustedTestAuthority {
  public:
    TrustedTestAuthority() {
        std::ifstream file(LoopbackHttpsFolder() / "test-ca.der", std::ios::binary);
        const std::vector<BYTE> der((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        PCCERT_CONTEXT certificate =
            der.empty() ? nullptr
                        : ::CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
        if (certificate == nullptr) {
            return;
        }
        BYTE hash[20] = {};
        DWORD hashSize = sizeof(hash);
        DWORD blobSize = 0;
        if (::CertGetCertificateContextProperty(certificate, CERT_SHA1_HASH_PROP_ID, hash, &hashSize) &&
            ::CertSerializeCertificateStoreElement(certificate, 0, nullptr, &blobSize)) {
            std::vector<BYTE> blob(blobSize);
            if (::CertSerializeCertificateStoreElement(certificate, 0, blob.data(), &blobSize)) {
                static const wchar_t kHex[] = L"0123456789ABCDEF";
                key_ = L"Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\";
                for (const BYTE byte : hash) {
                    key_ += kHex[byte >> 4];
                    key_ += kHex[byte & 0x0F];
                }
                HKEY entry = nullptr;
                if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE,
                                      nullptr, &entry, nullptr) == ERROR_SUCCESS) {
                    trusted_ = ::RegSetValueExW(entry, L"Blob", 0, REG_BINARY, blob.data(), blobSize) == ERROR_SUCCESS;
                    ::RegCloseKey(entry);
                }
            }
        }
        ::CertFreeCertificateContext(certificate);
    }
    ~TrustedTestAuthority() {
        if (!key_.empty()) {
            ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, key_.c_str());
        }
    }
    TrustedTestAuthority(const TrustedTestAuthority&) = delete;
    TrustedTestAuthority& operator=(const TrustedTestAuthority&) = delete;
    bool Trusted() const { return trusted_; }

  private:
    std::wstring key_;
    bool trusted_ = false;
};

// The requests a server recorded, one JSON line each ("trusted.log" or "untrusted.log").
inline std::vector<std::string> RecordedRequests(const char* logName) {
    std::ifstream file(LoopbackHttpsFolder() / logName);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

}  // namespace ovp::test
