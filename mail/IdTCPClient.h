#pragma once

#include "mail/IdTCPConnection.h"
#include "mail/IdTlsSession.h"

#include <string>
#include <vector>

// Connecting may take at most half a minute; a server that does not answer the connection request
// by then is not reachable in any useful sense.
inline constexpr int DefaultConnectTimeout = 30'000;

// How a connection is encrypted: not at all; after the plain greeting (SMTP's STARTTLS, POP3's
// STLS); or TLS from the first byte (SMTP on 465, POP3 on 995).
enum class TIdSecurity { None = 0, StartTls = 1, ImplicitTls = 2 };

// A TCP client connection to Host and Port, over IPv6 or IPv4 as the host's addresses come.
class TIdTCPClient : public TIdTCPConnection
{
public:
    // Fires as soon as the TCP connection stands, before any greeting is read.
    TNotifyEvent OnConnected;

    // Connects: tries the host's addresses in the lookup's order, each with a socket of its own and
    // at most ConnectTimeout, until one connects; with ImplicitTls the handshake follows at once.
    // EIdAlreadyConnected on an open connection (left untouched). When a step fails,
    // CloseConnection runs (its own errors discarded), the socket ends up released and the error
    // propagates (the last address's): EIdSocketError (10061 refused, 10060 no answer in
    // ConnectTimeout, 11001.. name not found), EIdCouldNotBindSocket, EIdTlsError.
    virtual void OpenConnection();

    const std::string& Host() const { return host_; }
    void SetHost(std::string host) { host_ = std::move(host); }
    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }
    void SetUseNagle(bool useNagle) { useNagle_ = useNagle; }
    void SetConnectTimeout(int timeoutMs) { connectTimeout_ = timeoutMs; }
    TIdSecurity Security() const { return security_; }
    void SetSecurity(TIdSecurity security) { security_ = security; }
    // The SHA-256 fingerprint (hex, colons optional) of a certificate to accept for Host although
    // it fails the check; empty: none.
    const std::string& CertificatePin() const { return certificatePin_; }
    void SetCertificatePin(std::string pin) { certificatePin_ = std::move(pin); }
    // While encrypted: what the handshake agreed on; nullptr on a plain connection.
    const TIdTlsInfo* TlsInfo() const { return SocketHandle().TlsInfo(); }

    // Part of the client's interface that the program itself does not call.
    const std::string& BoundIP() const { return boundIP_; }
    void SetBoundIP(std::string address) { boundIP_ = std::move(address); }
    bool UseNagle() const { return useNagle_; }
    int ConnectTimeout() const { return connectTimeout_; }

protected:
    void BindSocket();
    std::vector<std::string> ResolvePeers();
    void ApplyNagle();
    void ConnectToPeer();

private:
    void OpenSocketProtected();
    void ConnectToFirstOf(const std::vector<std::string>& peers);
    void ConnectTo(const std::string& peer);

    std::string boundIP_;
    std::string host_;
    int port_ = 0;
    // Off by default: lines leave at once instead of waiting for the peer's delayed acknowledgement.
    bool useNagle_ = false;
    int connectTimeout_ = DefaultConnectTimeout;
    TIdSecurity security_ = TIdSecurity::None;
    std::string certificatePin_;
};
