#include "mail/IdTlsErrors.h"

#include "mail/MailMessages.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

namespace {

std::string CertificateReason(long verifyError)
{
    switch (verifyError) {
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        return MailMessages::UnknownIssuer;
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        return MailMessages::SelfSigned;
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return MailMessages::Expired;
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return MailMessages::NotYetValid;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return MailMessages::IssuedForOtherName;
    default:
        return MailMessages::CertificateCheckFailed(X509_verify_cert_error_string(verifyError));
    }
}

std::string FailureReason(unsigned long sslError)
{
    if (ERR_GET_LIB(sslError) == ERR_LIB_SSL) {
        switch (ERR_GET_REASON(sslError)) {
        case SSL_R_WRONG_VERSION_NUMBER:
        case SSL_R_PACKET_LENGTH_TOO_LONG:
        case SSL_R_RECORD_LENGTH_MISMATCH:
            return MailMessages::NoTlsReply;
        case SSL_R_UNSUPPORTED_PROTOCOL:
        case SSL_R_TLSV1_ALERT_PROTOCOL_VERSION:
            return MailMessages::NoModernTls;
        }
    }
    return MailMessages::TlsProtocolError(ERR_reason_error_string(sslError));
}

} // namespace

EIdTlsError EIdTlsError::UntrustedCertificate(const std::string& server, long verifyError,
                                              const std::string& fingerprint)
{
    return EIdTlsError(
        MailMessages::UntrustedCertificate(server, CertificateReason(verifyError), fingerprint));
}

EIdTlsError EIdTlsError::Failed(const std::string& server, unsigned long sslError)
{
    return EIdTlsError(MailMessages::TlsFailed(server, FailureReason(sslError)));
}

EIdTlsError EIdTlsError::ClosedDuringHandshake(const std::string& server)
{
    return EIdTlsError(MailMessages::TlsFailed(server, MailMessages::ClosedDuringHandshake));
}

EIdTlsError EIdTlsError::StartTlsNotOffered(const std::string& server)
{
    return EIdTlsError(MailMessages::StartTlsNotOffered(server));
}

EIdTlsError EIdTlsError::PlainBytesAfterStartTls(const std::string& server)
{
    return EIdTlsError(MailMessages::PlainBytesAfterStartTls(server));
}
