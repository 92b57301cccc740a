#pragma once

#include "mail/IdStack.h"
#include "mail/IdTlsSession.h"

#include <memory>
#include <string>

// The record of one TCP socket (IPv4 or IPv6) with its local and peer address. Every byte the
// connection sends or receives passes through Send and Receive here; once StartTls has run, they
// go through the TLS session, which in turn uses the raw socket as its transport. Uses the
// process-wide SocketLayer().
class TIdSocketHandle : private TIdTlsTransport
{
public:
    TIdSocketHandle() { Reset(); }
    ~TIdSocketHandle() override { CloseSocket(); }
    TIdSocketHandle(const TIdSocketHandle&) = delete;
    TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;

    // Closes any socket held, then creates a stream socket of the version; EIdInvalidSocket when
    // that fails.
    void AllocateSocket(TIdIPVersion version = TIdIPVersion::IPv4);
    // Ends a TLS session with close_notify (failures ignored), shuts down sending and closes the
    // socket (results ignored), clearing both addresses. Does nothing when no socket is open.
    void CloseSocket();
    // Forgets the socket, its TLS session, the connection and both addresses (without closing
    // anything).
    void Reset();

    // Binds to LocalAddress (empty: any) and LocalPort and reads the bound address back.
    // EIdCouldNotBindSocket when the address is in use, EIdSocketError otherwise.
    void Bind();
    void SetPeer(std::string address, int port);
    // Connects to the peer, waiting at most timeoutMs; returns the platform's result unchecked and
    // on success reads both addresses back and counts as connected.
    int Connect(int timeoutMs);
    // Runs the TLS handshake for hostName (the name the user typed: SNI and the certificate's
    // check) within timeoutMs; from then on every byte is encrypted. Any failure closes the socket
    // before it propagates (EIdTlsError, EIdSocketError), so nothing more goes over it.
    void StartTls(const std::string& hostName, const std::string& pinnedSha256, int timeoutMs);
    // EIdConnClosedGracefully when no socket is open; true when bytes (decrypted ones, with TLS),
    // the end of the stream or a failure are there to receive in time.
    bool Readable(int timeoutMs);
    // The raw socket's contract, with TLS too: the count, 0 when the peer has closed, -1 with the
    // number in SocketLayer().LastError(). A failure of TLS itself closes the socket and raises
    // EIdTlsError.
    int Send(const char* buffer, int length);
    int Receive(char* buffer, int length);
    void SetNoDelay(bool on);
    void SetSendTimeout(int timeoutMs);

    bool IsOpen() const { return isOpen_; }
    // Open and its connection made: only then may anything be sent or received on it.
    bool IsConnected() const { return isOpen_ && connected_; }
    bool TlsActive() const { return tls_ != nullptr; }
    // What the handshake agreed on; nullptr without TLS.
    const TIdTlsInfo* TlsInfo() const { return tls_ ? &tls_->Info() : nullptr; }
    const std::string& PeerAddress() const { return peerAddress_; }
    void SetLocal(std::string address, int port);

    // Part of the handle's interface that the program itself does not call.
    TIdStackSocketHandle Handle() const { return handle_; }
    const std::string& LocalAddress() const { return localAddress_; }
    int LocalPort() const { return localPort_; }
    int PeerPort() const { return peerPort_; }

private:
    int TransportSend(const char* buffer, int length) override;
    int TransportReceive(char* buffer, int length) override;
    bool TransportReadable(int timeoutMs) override;
    int TransportLastError() override;

    void ReadAddressesBack(bool peerToo);
    // Runs a call of the TLS session; EIdTlsError from it closes the socket first.
    template <class Call> auto ClosingOnTlsError(Call call) -> decltype(call());

    TIdStackSocketHandle handle_ = InvalidSocketHandle;
    bool isOpen_ = false;
    bool connected_ = false;
    std::unique_ptr<TIdTlsSession> tls_;
    std::string localAddress_;
    std::string peerAddress_;
    int localPort_ = 0;
    int peerPort_ = 0;
};
