#include "mail/IdTlsSession.h"

#include "mail/IdStack.h"
#include "mail/IdTlsErrors.h"
#include "runtime/AsciiText.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <memory>

namespace {

// One client context for the process: loading the trust store is the slow part of a handshake.
// Creating it is retried by the next handshake when it fails.
SSL_CTX* ClientContext(const std::string& server, int (*verify)(int, X509_STORE_CTX*))
{
    static const std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context = [&] {
        std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> made(SSL_CTX_new(TLS_client_method()),
                                                               SSL_CTX_free);
        if (!made || !SSL_CTX_set_min_proto_version(made.get(), TLS1_2_VERSION) ||
            !SSL_CTX_set_default_verify_paths(made.get()))
            throw EIdTlsError::Failed(server, ERR_get_error());
        SSL_CTX_set_verify(made.get(), SSL_VERIFY_PEER, verify);
        SSL_CTX_set_options(made.get(), SSL_OP_IGNORE_UNEXPECTED_EOF | SSL_OP_NO_RENEGOTIATION);
        return made;
    }();
    return context.get();
}

bool IsAddressLiteral(const std::string& host)
{
    ASN1_OCTET_STRING* address = a2i_IPADDRESS(host.c_str());
    ASN1_OCTET_STRING_free(address);
    return address != nullptr;
}

std::string UppercaseHex(const unsigned char* bytes, unsigned length)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned i = 0; i < length; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 0xF];
    }
    return hex;
}

std::string WithColons(const std::string& hex)
{
    std::string text;
    for (std::size_t i = 0; i < hex.size(); i += 2) text += (i ? ":" : "") + hex.substr(i, 2);
    return text;
}

std::string NormalisedPin(const std::string& pin)
{
    std::string hex;
    for (char c : pin)
        if (c != ':') hex += c;
    return AsciiUpperCase(hex);
}

std::string Sha256Hex(X509* certificate)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    if (!certificate || !X509_digest(certificate, EVP_sha256(), digest, &length)) return {};
    return UppercaseHex(digest, length);
}

// A distinguished name on one line, "C = DE, O = Beispiel, CN = mail.example.de", in UTF-8 with
// control characters escaped.
std::string OneLine(X509_NAME* name)
{
    std::unique_ptr<BIO, decltype(&BIO_free)> out(BIO_new(BIO_s_mem()), BIO_free);
    if (!out || X509_NAME_print_ex(out.get(), name, 0,
                                   (XN_FLAG_ONELINE & ~ASN1_STRFLGS_ESC_MSB) | ASN1_STRFLGS_UTF8_CONVERT) < 0)
        return {};
    char* data = nullptr;
    const long length = BIO_get_mem_data(out.get(), &data);
    return std::string(data, static_cast<std::size_t>(length));
}

} // namespace

struct TIdTlsSession::Callbacks
{
    static TIdTlsSession& SessionOf(BIO* bio) { return *static_cast<TIdTlsSession*>(BIO_get_data(bio)); }

    static int Write(BIO* bio, const char* buffer, int length)
    {
        BIO_clear_retry_flags(bio);
        return SessionOf(bio).WriteToTransport(buffer, length);
    }

    static int Read(BIO* bio, char* buffer, int length)
    {
        BIO_clear_retry_flags(bio);
        bool retry = false;
        const int n = SessionOf(bio).ReadFromTransport(buffer, length, retry);
        if (retry) BIO_set_retry_read(bio);
        return n;
    }

    static long Control(BIO*, int command, long, void*) { return command == BIO_CTRL_FLUSH ? 1 : 0; }

    static BIO_METHOD* TransportMethod()
    {
        static BIO_METHOD* const method = [] {
            BIO_METHOD* made = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "transport");
            BIO_meth_set_write(made, Write);
            BIO_meth_set_read(made, Read);
            BIO_meth_set_ctrl(made, Control);
            return made;
        }();
        return method;
    }

    static int Verify(int passedCheck, X509_STORE_CTX* context)
    {
        auto* ssl =
            static_cast<SSL*>(X509_STORE_CTX_get_ex_data(context, SSL_get_ex_data_X509_STORE_CTX_idx()));
        auto* session = static_cast<TIdTlsSession*>(SSL_get_app_data(ssl));
        return session->AcceptCertificate(passedCheck == 1, context) ? 1 : 0;
    }
};

TIdTlsSession::TIdTlsSession(TIdTlsTransport& transport) : transport_(transport) {}

TIdTlsSession::~TIdTlsSession()
{
    SSL_free(ssl_);
}

void TIdTlsSession::Handshake(const std::string& hostName, const std::string& pinnedSha256, int timeoutMs)
{
    server_ = hostName;
    pin_ = NormalisedPin(pinnedSha256);
    ssl_ = SSL_new(ClientContext(server_, Callbacks::Verify));
    BIO* bio = ssl_ ? BIO_new(Callbacks::TransportMethod()) : nullptr;
    if (!bio) RaiseTlsFailure();
    BIO_set_data(bio, this);
    BIO_set_init(bio, 1);
    SSL_set_bio(ssl_, bio, bio);
    SSL_set_app_data(ssl_, this);
    ExpectPeerName(hostName);

    int result = 0;
    switch (Run(timeoutMs, result, [this] { return SSL_connect(ssl_); })) {
    case Outcome::Done:
        ReadInfo();
        return;
    case Outcome::TimedOut:
        throw EIdSocketError(WSAETIMEDOUT);
    case Outcome::TransportFailed:
        throw EIdSocketError(*transportError_);
    case Outcome::Ended:
        unusable_ = true;
        throw EIdTlsError::ClosedDuringHandshake(server_);
    }
}

void TIdTlsSession::ExpectPeerName(const std::string& hostName)
{
    X509_VERIFY_PARAM* param = SSL_get0_param(ssl_);
    X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    const bool set = IsAddressLiteral(hostName)
                         ? X509_VERIFY_PARAM_set1_ip_asc(param, hostName.c_str())
                         : SSL_set_tlsext_host_name(ssl_, hostName.c_str()) &&
                               X509_VERIFY_PARAM_set1_host(param, hostName.c_str(), hostName.size());
    if (!set) RaiseTlsFailure();
}

// Called for each step of the chain's check, the failed ones included; the first failure is kept
// for the message.
bool TIdTlsSession::AcceptCertificate(bool passedCheck, void* storeContext)
{
    auto* context = static_cast<X509_STORE_CTX*>(storeContext);
    if (peerDigest_.empty()) peerDigest_ = Sha256Hex(X509_STORE_CTX_get0_cert(context));
    if (passedCheck || (!pin_.empty() && pin_ == peerDigest_)) return true;
    if (verifyError_ == X509_V_OK) verifyError_ = X509_STORE_CTX_get_error(context);
    return false;
}

void TIdTlsSession::ReadInfo()
{
    info_.Version = SSL_get_version(ssl_);
    info_.Cipher = SSL_get_cipher_name(ssl_);
    X509* peer = SSL_get0_peer_certificate(ssl_);
    info_.Subject = OneLine(X509_get_subject_name(peer));
    info_.Issuer = OneLine(X509_get_issuer_name(peer));
    info_.Fingerprint = WithColons(Sha256Hex(peer));
}

bool TIdTlsSession::Readable(int timeoutMs)
{
    if (unusable_ || endOfStream_ || Pending() > 0) return true;
    char byte;
    int result = 0;
    return Run(timeoutMs, result, [&] { return SSL_peek(ssl_, &byte, 1); }) != Outcome::TimedOut;
}

int TIdTlsSession::Pending() const
{
    return ssl_ ? SSL_pending(ssl_) : 0;
}

int TIdTlsSession::Receive(char* buffer, int length)
{
    return Transfer([&] { return SSL_read(ssl_, buffer, length); });
}

int TIdTlsSession::Send(const char* buffer, int length)
{
    return Transfer([&] { return SSL_write(ssl_, buffer, length); });
}

void TIdTlsSession::Close()
{
    if (!ssl_ || unusable_ || !SSL_is_init_finished(ssl_)) return;
    deadline_ = std::chrono::steady_clock::now();
    ERR_clear_error();
    SSL_shutdown(ssl_);
    ERR_clear_error();
    unusable_ = true;
}

int TIdTlsSession::ReadFromTransport(char* buffer, int length, bool& retry)
{
    if (deadline_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            *deadline_ - std::chrono::steady_clock::now());
        if (!transport_.TransportReadable(std::max<int>(0, static_cast<int>(left.count())))) {
            timedOut_ = retry = true;
            return -1;
        }
    }
    const int n = transport_.TransportReceive(buffer, length);
    if (n == 0) endOfStream_ = true;
    if (n < 0) transportError_ = transport_.TransportLastError();
    return n;
}

int TIdTlsSession::WriteToTransport(const char* buffer, int length)
{
    const int n = transport_.TransportSend(buffer, length);
    if (n < 0) transportError_ = transport_.TransportLastError();
    return n;
}

template <class Call> int TIdTlsSession::Transfer(Call call)
{
    if (unusable_) return -1;
    int result = 0;
    switch (Run(WaitForever, result, call)) {
    case Outcome::Done:
        return result;
    case Outcome::Ended:
        return 0;
    default:
        return -1;
    }
}

template <class Call> TIdTlsSession::Outcome TIdTlsSession::Run(int timeoutMs, int& result, Call call)
{
    deadline_.reset();
    if (timeoutMs >= 0) deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    timedOut_ = false;
    ERR_clear_error();
    result = call();
    if (result > 0) return Outcome::Done;
    const int error = SSL_get_error(ssl_, result);
    if (timedOut_ && error == SSL_ERROR_WANT_READ) return Outcome::TimedOut;
    if (transportError_) {
        unusable_ = true;
        return Outcome::TransportFailed;
    }
    if (error == SSL_ERROR_ZERO_RETURN || endOfStream_) {
        endOfStream_ = true;
        return Outcome::Ended;
    }
    RaiseTlsFailure();
}

void TIdTlsSession::RaiseTlsFailure()
{
    unusable_ = true;
    const unsigned long sslError = ERR_get_error();
    ERR_clear_error();
    if (verifyError_ != X509_V_OK)
        throw EIdTlsError::UntrustedCertificate(server_, verifyError_, WithColons(peerDigest_));
    throw EIdTlsError::Failed(server_, sslError);
}
