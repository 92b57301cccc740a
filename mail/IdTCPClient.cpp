#include "mail/IdTCPClient.h"

#include "mail/IdExceptions.h"

void TIdTCPClient::OpenConnection()
{
    if (SocketHandle().IsOpen()) throw EIdAlreadyConnected();
    ResetForConnect();
    SocketHandle().AllocateSocket();
    OpenSocketProtected();
    ReportStatus(statusConnected, SocketHandle().PeerAddress());
    if (OnConnected) OnConnected(*this);
}

// Binds, resolves and connects; on failure closes the connection the most derived way and lets the
// first error through.
void TIdTCPClient::OpenSocketProtected()
{
    try {
        BindSocket();
        const std::string peer = ResolvePeer();
        ApplyNagle();
        ReportStatus(statusConnecting, peer);
        ConnectToPeer();
    } catch (...) {
        try {
            CloseConnection();
        } catch (...) {
        }
        ReleaseSocket();
        throw;
    }
}

void TIdTCPClient::BindSocket()
{
    SocketHandle().SetLocal(boundIP_, 0);
    SocketHandle().Bind();
}

std::string TIdTCPClient::ResolvePeer()
{
    if (TIdStack::NeedsNameLookup(host_)) ReportStatus(statusResolving, host_);
    std::string peer = SocketLayer().LookupHost(host_);
    SocketHandle().SetPeer(peer, port_);
    return peer;
}

void TIdTCPClient::ApplyNagle()
{
    if (!useNagle_) SocketHandle().SetNoDelay(true);
}

void TIdTCPClient::ConnectToPeer()
{
    SocketLayer().CheckSocketResult(SocketHandle().Connect(connectTimeout_));
}
