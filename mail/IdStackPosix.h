#pragma once

#include "mail/IdStack.h"

// The socket layer on POSIX sockets. On Windows, TIdStackWinsock takes its place.
class TIdStackPosix : public TIdStack
{
public:
    TIdStackSocketHandle CreateStreamSocket(TIdIPVersion version) override;
    int Bind(TIdStackSocketHandle socket, const TIdSocketAddress& local) override;
    int Connect(TIdStackSocketHandle socket, const TIdSocketAddress& peer, int timeoutMs) override;
    int GetLocalAddress(TIdStackSocketHandle socket, TIdSocketAddress& local) override;
    int GetPeerAddress(TIdStackSocketHandle socket, TIdSocketAddress& peer) override;
    int SetNoDelay(TIdStackSocketHandle socket, bool on) override;
    int SetSendTimeout(TIdStackSocketHandle socket, int timeoutMs) override;
    int WaitReadable(TIdStackSocketHandle socket, int timeoutMs) override;
    int Receive(TIdStackSocketHandle socket, char* buffer, int length) override;
    int Send(TIdStackSocketHandle socket, const char* buffer, int length) override;
    void ShutdownSending(TIdStackSocketHandle socket) override;
    void CloseSocket(TIdStackSocketHandle socket) override;
    bool HostByName(const std::string& name, std::vector<std::string>& addresses) override;
    std::string HostName() override;
    int LastError() override;
};

// The Windows Sockets number of the same name as a POSIX errno value (the errno itself when
// Windows Sockets has no such error).
int WinsockErrorFromErrno(int errnoValue);
// The Windows Sockets number of a failed getaddrinfo: 11001 host not found, 11002 try again,
// 11003 no recovery, 11004 no address of the asked kind.
int WinsockErrorFromLookup(int lookupError, int errnoValue);
