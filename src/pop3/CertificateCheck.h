#pragma once

#include <string>

#include "base/AccountRecord.h"

namespace qlt {

// Why the server's certificate was not trusted, in the words the user needs
// to decide whether to trust it anyway.
enum class CertificateProblem {
    None,
    Expired,
    NotYetValid,
    SelfSigned,
    UnknownIssuer,
    NameMismatch,
    NoCertificate,
    Other,
};

// What the last secure connection learnt about the server's certificate.
struct CertificateCheck {
    CertificateProblem problem = CertificateProblem::None;
    CertificateFingerprint fingerprint{};
    // Trusted only because its fingerprint is the one pinned for the account.
    bool pinned = false;
    // The verifier's own words, for a problem of kind Other (untrusted data
    // only in the sense that it names what the server sent).
    std::string detail;
};

// Sorts an X509_V_ERR_* verification result into the kinds above.
CertificateProblem classifyVerifyResult(long verifyResult);

// "AB:CD:...": 32 bytes as upper-case hex pairs joined by colons.
std::string fingerprintText(const CertificateFingerprint& fingerprint);

// Why the certificate was refused, as a clause: "it has expired".
std::string certificateReasonText(const CertificateCheck& check, const std::string& host);

// The error text for a certificate that was refused: the reason, the host
// name it was checked against, and its fingerprint, each line ending "\r\n".
// pinnedBefore: the account trusted another certificate until now.
std::string certificateErrorText(const CertificateCheck& check, const std::string& host, bool pinnedBefore);

}  // namespace qlt
