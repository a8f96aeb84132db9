#pragma once

#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/AccountRecord.h"

namespace qlt::test {

// The ssl-enabled instance that tests/live/dovecot.sh started for this run.
inline std::filesystem::path instanceDir() {
    const char* dir = std::getenv("QLT_LIVE_TLS_DIR");
    return dir == nullptr ? std::filesystem::path() : std::filesystem::path(dir);
}

inline unsigned portIn(const char* file) {
    std::ifstream in(instanceDir() / file);
    unsigned port = 0;
    in >> port;
    return port;
}

inline std::string certificatePath(const std::string& name) {
    return (instanceDir() / "tls" / (name + ".pem")).string();
}

// The fingerprint as computed from the certificate file, independently of the client.
inline CertificateFingerprint fingerprintOf(const std::string& name) {
    CertificateFingerprint fingerprint{};
    FILE* file = std::fopen(certificatePath(name).c_str(), "r");
    if (file == nullptr) return fingerprint;
    X509* certificate = PEM_read_X509(file, nullptr, nullptr, nullptr);
    std::fclose(file);
    unsigned int length = 0;
    if (certificate != nullptr) X509_digest(certificate, EVP_sha256(), fingerprint.data(), &length);
    X509_free(certificate);
    return fingerprint;
}

}  // namespace qlt::test
