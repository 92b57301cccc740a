#include "mail/IdTlsErrors.h"

#include "runtime/CodePage.h"

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
        return "unbekannter Aussteller";
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        return "selbst signiert";
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return "abgelaufen";
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return "noch nicht gültig";
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return "ausgestellt für einen anderen Namen";
    default:
        return std::string("die Prüfung ist fehlgeschlagen (") + X509_verify_cert_error_string(verifyError) +
               ")";
    }
}

std::string FailureReason(unsigned long sslError)
{
    if (ERR_GET_LIB(sslError) == ERR_LIB_SSL) {
        switch (ERR_GET_REASON(sslError)) {
        case SSL_R_WRONG_VERSION_NUMBER:
        case SSL_R_PACKET_LENGTH_TOO_LONG:
        case SSL_R_RECORD_LENGTH_MISMATCH:
            return "der Server antwortet nicht mit TLS";
        case SSL_R_UNSUPPORTED_PROTOCOL:
        case SSL_R_TLSV1_ALERT_PROTOCOL_VERSION:
            return "der Server bietet kein TLS 1.2 oder neuer an";
        }
    }
    const char* openSslText = ERR_reason_error_string(sslError);
    if (!openSslText) return "Fehler im TLS-Protokoll";
    return std::string("Fehler im TLS-Protokoll (") + openSslText + ")";
}

std::string FailureText(const std::string& server, const std::string& reason)
{
    return "Die TLS-Verbindung zu " + CodePageToUtf8(server) + " ist gescheitert: " + reason + ".";
}

} // namespace

EIdTlsError EIdTlsError::UntrustedCertificate(const std::string& server, long verifyError,
                                              const std::string& fingerprint)
{
    return EIdTlsError("Das Zertifikat von " + CodePageToUtf8(server) + " ist nicht vertrauenswürdig: " +
                       CertificateReason(verifyError) + ". SHA-256-Fingerabdruck: " + fingerprint);
}

EIdTlsError EIdTlsError::Failed(const std::string& server, unsigned long sslError)
{
    return EIdTlsError(FailureText(server, FailureReason(sslError)));
}

EIdTlsError EIdTlsError::ClosedDuringHandshake(const std::string& server)
{
    return EIdTlsError(
        FailureText(server, "der Server hat die Verbindung während des Aushandelns geschlossen"));
}

EIdTlsError EIdTlsError::StartTlsNotOffered(const std::string& server)
{
    return EIdTlsError("Der Server " + CodePageToUtf8(server) +
                       " bietet keine Verschlüsselung (STARTTLS) an; es wurde nichts gesendet.");
}

EIdTlsError EIdTlsError::PlainBytesAfterStartTls(const std::string& server)
{
    return EIdTlsError("Der Server " + CodePageToUtf8(server) +
                       " hat nach seiner Zusage zur Verschlüsselung unverschlüsselte Daten gesendet; die "
                       "Verbindung wurde getrennt.");
}
