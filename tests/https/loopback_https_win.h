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
inline constexpr unsigned short kUntrustedHttpsPort = 11901;

// The servers' folder; empty when the test runs without them.
inline std::filesystem::path LoopbackHttpsFolder() {
    const char* folder = std::getenv("OVP_HTTPS_DIR");
    return folder == nullptr ? std::filesystem::path() : std::filesystem::path(folder);
}

// Trusts the test authority in the current user's root store of this (Wine) prefix while it
// lives.
class TrustedTestAuthority {
  public:
    TrustedTestAuthority() {
        std::ifstream file(LoopbackHttpsFolder() / "test-ca.der", std::ios::binary);
        const std::vector<BYTE> der((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        store_ = ::CertOpenSystemStoreW(0, L"ROOT");
        if (store_ != nullptr && !der.empty()) {
            ::CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                               CERT_STORE_ADD_REPLACE_EXISTING, &added_);
        }
    }
    ~TrustedTestAuthority() {
        if (added_ != nullptr) {
            ::CertDeleteCertificateFromStore(added_);  // frees the context too
        }
        if (store_ != nullptr) {
            ::CertCloseStore(store_, 0);
        }
    }
    TrustedTestAuthority(const TrustedTestAuthority&) = delete;
    TrustedTestAuthority& operator=(const TrustedTestAuthority&) = delete;
    bool Trusted() const { return added_ != nullptr; }

  private:
    HCERTSTORE store_ = nullptr;
    PCCERT_CONTEXT added_ = nullptr;
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
