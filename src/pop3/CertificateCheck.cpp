#include "pop3/CertificateCheck.h"

#include <openssl/x509_vfy.h>

#include "base/AsciiText.h"

namespace qlt {

CertificateProblem classifyVerifyResult(long verifyResult) {
    switch (verifyResult) {
        case X509_V_OK:
            return CertificateProblem::None;
        case X509_V_ERR_CERT_HAS_EXPIRED:
            return CertificateProblem::Expired;
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return CertificateProblem::NotYetValid;
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
            return CertificateProblem::SelfSigned;
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
            return CertificateProblem::UnknownIssuer;
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH:
            return CertificateProblem::NameMismatch;
        default:
            return CertificateProblem::Other;
    }
}

std::string fingerprintText(const CertificateFingerprint& fingerprint) {
    std::string text;
    for (const std::uint8_t b : fingerprint) {
        if (!text.empty()) text += ':';
        appendHexByte(text, b);
    }
    return text;
}

std::string certificateReasonText(const CertificateCheck& check, const std::string& host) {
    switch (check.problem) {
        case CertificateProblem::Expired:
            return "it has expired";
        case CertificateProblem::NotYetValid:
            return "it is not valid yet";
        case CertificateProblem::SelfSigned:
            return "it is self-signed";
        case CertificateProblem::UnknownIssuer:
            return "it was issued by an unknown authority";
        case CertificateProblem::NameMismatch:
            return "it was issued for another name than \"" + host + "\"";
        case CertificateProblem::NoCertificate:
            return "the server sent no certificate";
        case CertificateProblem::None:
        case CertificateProblem::Other:
            break;
    }
    return "verification failed (" + check.detail + ")";
}

std::string certificateErrorText(const CertificateCheck& check, const std::string& host, bool pinnedBefore) {
    std::string text =
        "ERROR: The server's certificate is not trusted: " + certificateReasonText(check, host) + "\r\n";
    if (check.problem != CertificateProblem::NoCertificate) {
        text += "Certificate SHA-256 fingerprint: " + fingerprintText(check.fingerprint) + "\r\n";
    }
    if (pinnedBefore) text += "It is not the certificate trusted for this account before\r\n";
    return text;
}

}  // namespace qlt
