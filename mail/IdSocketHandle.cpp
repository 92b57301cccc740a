#include "mail/IdSocketHandle.h"

#include "mail/IdExceptions.h"
#include "mail/IdTlsErrors.h"

void TIdSocketHandle::AllocateSocket(TIdIPVersion version)
{
    CloseSocket();
    TIdStackSocketHandle handle = SocketLayer().CreateStreamSocket(version);
    if (handle == InvalidSocketHandle) throw EIdInvalidSocket();
    handle_ = handle;
    isOpen_ = true;
}

void TIdSocketHandle::CloseSocket()
{
    if (!isOpen_) return;
    if (tls_) tls_->Close();
    isOpen_ = false;
    SocketLayer().ShutdownSending(handle_);
    SocketLayer().CloseSocket(handle_);
    Reset();
}

void TIdSocketHandle::Reset()
{
    isOpen_ = false;
    connected_ = false;
    handle_ = InvalidSocketHandle;
    tls_.reset();
    peerAddress_.clear();
    peerPort_ = 0;
    localAddress_.clear();
    localPort_ = 0;
}

void TIdSocketHandle::Bind()
{
    TIdStack& stack = SocketLayer();
    if (stack.CheckSocketResult(stack.Bind(handle_, {localAddress_, static_cast<std::uint16_t>(localPort_)}),
                                {WSAEADDRINUSE}))
        throw EIdCouldNotBindSocket();
    ReadAddressesBack(false);
}

void TIdSocketHandle::SetPeer(std::string address, int port)
{
    peerAddress_ = std::move(address);
    peerPort_ = port;
}

int TIdSocketHandle::Connect(int timeoutMs)
{
    int result =
        SocketLayer().Connect(handle_, {peerAddress_, static_cast<std::uint16_t>(peerPort_)}, timeoutMs);
    if (result == -1) return result;
    ReadAddressesBack(true);
    connected_ = true;
    return result;
}

void TIdSocketHandle::StartTls(const std::string& hostName, const std::string& pinnedSha256, int timeoutMs)
{
    try {
        tls_ = std::make_unique<TIdTlsSession>(static_cast<TIdTlsTransport&>(*this));
        tls_->Handshake(hostName, pinnedSha256, timeoutMs);
    } catch (...) {
        tls_.reset(); // no close_notify: the session never stood
        CloseSocket();
        throw;
    }
}

template <class Call> auto TIdSocketHandle::ClosingOnTlsError(Call call) -> decltype(call())
{
    try {
        return call();
    } catch (const EIdTlsError&) {
        tls_.reset();
        CloseSocket();
        throw;
    }
}

bool TIdSocketHandle::Readable(int timeoutMs)
{
    if (!isOpen_) throw EIdConnClosedGracefully();
    if (tls_) return ClosingOnTlsError([&] { return tls_->Readable(timeoutMs); });
    return SocketLayer().WaitReadable(handle_, timeoutMs) == 1;
}

int TIdSocketHandle::Send(const char* buffer, int length)
{
    if (tls_) return ClosingOnTlsError([&] { return tls_->Send(buffer, length); });
    return TransportSend(buffer, length);
}

int TIdSocketHandle::Receive(char* buffer, int length)
{
    if (tls_) return ClosingOnTlsError([&] { return tls_->Receive(buffer, length); });
    return TransportReceive(buffer, length);
}

int TIdSocketHandle::TransportSend(const char* buffer, int length)
{
    return SocketLayer().Send(handle_, buffer, length);
}

int TIdSocketHandle::TransportReceive(char* buffer, int length)
{
    return SocketLayer().Receive(handle_, buffer, length);
}

// A failed wait counts as readable, so that the receive after it reports the error.
bool TIdSocketHandle::TransportReadable(int timeoutMs)
{
    return SocketLayer().WaitReadable(handle_, timeoutMs) != 0;
}

int TIdSocketHandle::TransportLastError()
{
    return SocketLayer().LastError();
}

void TIdSocketHandle::SetNoDelay(bool on)
{
    SocketLayer().CheckSocketResult(SocketLayer().SetNoDelay(handle_, on));
}

void TIdSocketHandle::SetSendTimeout(int timeoutMs)
{
    SocketLayer().CheckSocketResult(SocketLayer().SetSendTimeout(handle_, timeoutMs));
}

void TIdSocketHandle::SetLocal(std::string address, int port)
{
    localAddress_ = std::move(address);
    localPort_ = port;
}

void TIdSocketHandle::ReadAddressesBack(bool peerToo)
{
    TIdStack& stack = SocketLayer();
    TIdSocketAddress address;
    stack.CheckSocketResult(stack.GetLocalAddress(handle_, address));
    localAddress_ = address.Address;
    localPort_ = address.Port;
    if (!peerToo) return;
    stack.CheckSocketResult(stack.GetPeerAddress(handle_, address));
    peerAddress_ = address.Address;
    peerPort_ = address.Port;
}
