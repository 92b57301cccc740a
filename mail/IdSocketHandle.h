#pragma once

#include "mail/IdStack.h"

#include <string>

// The record of one IPv4 TCP socket with its local and peer address. Every byte the connection
// sends or receives passes through Send and Receive here, so that an encryption layer can later
// sit in this one place. Uses the process-wide SocketLayer().
class TIdSocketHandle
{
public:
    TIdSocketHandle() { Reset(); }
    ~TIdSocketHandle() { CloseSocket(); }
    TIdSocketHandle(const TIdSocketHandle&) = delete;
    TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;

    // Closes any socket held, then creates a stream socket; EIdInvalidSocket when that fails.
    void AllocateSocket();
    // Shuts down sending and closes the socket (results ignored), clearing both addresses.
    // Does nothing when no socket is open.
    void CloseSocket();
    // Forgets the socket, the connection and both addresses (without closing anything).
    void Reset();

    // Binds to LocalAddress (empty: any) and LocalPort and reads the bound address back.
    // EIdCouldNotBindSocket when the address is in use, EIdSocketError otherwise.
    void Bind();
    void SetPeer(std::string address, int port);
    // Connects to the peer, waiting at most timeoutMs; returns the platform's result unchecked and
    // on success reads both addresses back and counts as connected.
    int Connect(int timeoutMs);
    // EIdConnClosedGracefully when no socket is open; true when the socket became readable in time.
    bool Readable(int timeoutMs);
    int Send(const char* buffer, int length);
    int Receive(char* buffer, int length);
    void SetNoDelay(bool on);
    void SetSendTimeout(int timeoutMs);

    TIdStackSocketHandle Handle() const { return handle_; }
    bool IsOpen() const { return isOpen_; }
    // Open and its connection made: only then may anything be sent or received on it.
    bool IsConnected() const { return isOpen_ && connected_; }
    const std::string& LocalAddress() const { return localAddress_; }
    int LocalPort() const { return localPort_; }
    const std::string& PeerAddress() const { return peerAddress_; }
    int PeerPort() const { return peerPort_; }
    void SetLocal(std::string address, int port);

private:
    void ReadAddressesBack(bool peerToo);

    TIdStackSocketHandle handle_ = InvalidSocketHandle;
    bool isOpen_ = false;
    bool connected_ = false;
    std::string localAddress_;
    std::string peerAddress_;
    int localPort_ = 0;
    int peerPort_ = 0;
};
