#pragma once

#include <chrono>
#include <optional>
#include <string>

struct ssl_st;

// The raw byte stream a TLS session runs over (the socket handle implements it). Every call
// returns what the socket layer's call of the same purpose returns.
class TIdTlsTransport
{
public:
    virtual ~TIdTlsTransport() = default;
    // Hands over up to length bytes: the count, or -1 on failure.
    virtual int TransportSend(const char* buffer, int length) = 0;
    // Up to length bytes: the count, 0 at the end of the stream, -1 on failure.
    virtual int TransportReceive(char* buffer, int length) = 0;
    // True when a receive would not block (data, end of stream or failure) within timeoutMs.
    virtual bool TransportReadable(int timeoutMs) = 0;
    // The Windows Sockets error number of the last failed send or receive.
    virtual int TransportLastError() = 0;
};

// What a handshake agreed on, for a connection report.
struct TIdTlsInfo
{
    std::string Version;     // "TLSv1.3"
    std::string Cipher;      // "TLS_AES_256_GCM_SHA384"
    std::string Subject;     // the server certificate's subject on one line, "CN = mail.example.de"
    std::string Issuer;      // its issuer, the same way
    std::string Fingerprint; // its SHA-256 fingerprint, uppercase hex with colons
};

// A TLS client (TLS 1.2 or newer) over a transport, with OpenSSL reading and writing through the
// transport alone. Every wait is bounded by the caller's time-out; the send time-out of the
// transport bounds each send.
//
// The server's certificate is checked against the system's trust store (OpenSSL's default paths,
// so SSL_CERT_FILE and SSL_CERT_DIR apply) and against the host name the user typed (its IP
// address when that is an address literal). A pin, the SHA-256 fingerprint as hex with or without
// colons in any letter case, makes the certificate with exactly that fingerprint acceptable for
// this connection although the check fails (self-signed, expired, another name, ...); a
// certificate that passes the check is accepted with or without a pin, and a pin that is no
// fingerprint matches no certificate.
//
// Send, Receive and Readable keep the transport's contract, so the connection above needs no
// change: a failure of the transport gives -1 and leaves its error number as the transport's last
// error; the end of the peer's data (close_notify, or the stream ending without one, which the
// line protocols above detect themselves) gives 0. A failure of TLS itself raises EIdTlsError,
// after which the session is of no further use and only the socket is to be closed.
class TIdTlsSession
{
public:
    explicit TIdTlsSession(TIdTlsTransport& transport);
    ~TIdTlsSession();
    TIdTlsSession(const TIdTlsSession&) = delete;
    TIdTlsSession& operator=(const TIdTlsSession&) = delete;

    // Runs the client handshake within timeoutMs (WaitForever: no limit), sending hostName as SNI
    // unless it is an address literal. A refused certificate raises EIdTlsError naming the reason
    // and the certificate's fingerprint; a server closing the connection, or any other TLS failure,
    // EIdTlsError too; running out of time EIdSocketError(WSAETIMEDOUT); a failure of the transport
    // EIdSocketError with its number. Called once per session.
    void Handshake(const std::string& hostName, const std::string& pinnedSha256, int timeoutMs);

    // True when application bytes are ready for Receive (already decrypted, or arriving within
    // timeoutMs), or when Receive will report the end or a failure at once.
    bool Readable(int timeoutMs);
    // The application bytes of the current record already decrypted, which Receive returns without
    // waiting. Readable counts them, so a wait above need not.
    int Pending() const;
    int Receive(char* buffer, int length);
    // Sends all length bytes (as many records as needed): length, or -1 / 0 as above.
    int Send(const char* buffer, int length);
    // Sends close_notify without waiting for the peer's; failures are ignored. The socket is to be
    // closed afterwards.
    void Close();

    const TIdTlsInfo& Info() const { return info_; }

private:
    struct Callbacks; // OpenSSL's entry points into the session
    enum class Outcome { Done, TimedOut, Ended, TransportFailed };

    void ExpectPeerName(const std::string& hostName);
    bool AcceptCertificate(bool passedCheck, void* storeContext);
    void ReadInfo();
    int ReadFromTransport(char* buffer, int length, bool& retry);
    int WriteToTransport(const char* buffer, int length);
    // Runs one OpenSSL call with the time limit and sorts out how it ended; raises EIdTlsError
    // for a TLS failure.
    template <class Call> Outcome Run(int timeoutMs, int& result, Call call);
    // Run without a time limit, its outcome given as the transport's contract.
    template <class Call> int Transfer(Call call);
    [[noreturn]] void RaiseTlsFailure();

    TIdTlsTransport& transport_;
    ssl_st* ssl_ = nullptr;
    std::string server_;
    std::string pin_; // uppercase hex without colons
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    bool timedOut_ = false;
    bool endOfStream_ = false;
    bool unusable_ = false; // after a failure or Close: no further TLS calls
    std::optional<int> transportError_;
    long verifyError_ = 0;
    std::string peerDigest_; // uppercase hex without colons
    TIdTlsInfo info_;
};
