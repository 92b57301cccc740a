#include "mail/IdSocketHandle.h"

#include "mail/IdExceptions.h"

namespace {

TIdSocketAddress AddressOf(const std::string& text, int port)
{
    TIdSocketAddress address;
    if (!text.empty()) address.Address = TIdStack::TextToAddress(text);
    address.Port = static_cast<std::uint16_t>(port);
    return address;
}

} // namespace

void TIdSocketHandle::AllocateSocket()
{
    CloseSocket();
    TIdStackSocketHandle handle = SocketLayer().CreateStreamSocket();
    if (handle == InvalidSocketHandle) throw EIdInvalidSocket();
    handle_ = handle;
    isOpen_ = true;
}

void TIdSocketHandle::CloseSocket()
{
    if (!isOpen_) return;
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
    peerAddress_.clear();
    peerPort_ = 0;
    localAddress_.clear();
    localPort_ = 0;
}

void TIdSocketHandle::Bind()
{
    TIdStack& stack = SocketLayer();
    if (stack.CheckSocketResult(stack.Bind(handle_, AddressOf(localAddress_, localPort_)), {WSAEADDRINUSE}))
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
    int result = SocketLayer().Connect(handle_, AddressOf(peerAddress_, peerPort_), timeoutMs);
    if (result == -1) return result;
    ReadAddressesBack(true);
    connected_ = true;
    return result;
}

bool TIdSocketHandle::Readable(int timeoutMs)
{
    if (!isOpen_) throw EIdConnClosedGracefully();
    return SocketLayer().WaitReadable(handle_, timeoutMs) == 1;
}

int TIdSocketHandle::Send(const char* buffer, int length)
{
    return SocketLayer().Send(handle_, buffer, length);
}

int TIdSocketHandle::Receive(char* buffer, int length)
{
    return SocketLayer().Receive(handle_, buffer, length);
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
    localAddress_ = TIdStack::AddressToText(address.Address);
    localPort_ = address.Port;
    if (!peerToo) return;
    stack.CheckSocketResult(stack.GetPeerAddress(handle_, address));
    peerAddress_ = TIdStack::AddressToText(address.Address);
    peerPort_ = address.Port;
}
