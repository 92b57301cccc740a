#include "mail/IdTCPClient.h"

#include "mail/IdExceptions.h"

void TIdTCPClient::OpenConnection()
{
    if (SocketHandle().IsOpen()) throw EIdAlreadyConnected();
    ResetForConnect();
    OpenSocketProtected();
    ReportStatus(statusConnected, SocketHandle().PeerAddress());
    if (OnConnected) OnConnected(*this);
}

// Resolves, connects and starts TLS on a TLS port; on failure closes the connection the most
// derived way and lets the error through.
void TIdTCPClient::OpenSocketProtected()
{
    try {
        ConnectToFirstOf(ResolvePeers());
        if (security_ == TIdSecurity::ImplicitTls) StartTls(host_, certificatePin_);
    } catch (...) {
        try {
            CloseConnection();
        } catch (...) {
        }
        ReleaseSocket();
        throw;
    }
}

void TIdTCPClient::ConnectToFirstOf(const std::vector<std::string>& peers)
{
    for (std::size_t i = 0;; ++i) {
        try {
            ConnectTo(peers.at(i));
            return;
        } catch (...) {
            if (i + 1 >= peers.size()) throw;
            SocketHandle().CloseSocket();
        }
    }
}

void TIdTCPClient::ConnectTo(const std::string& peer)
{
    SocketHandle().AllocateSocket(TIdStack::VersionOf(peer));
    BindSocket();
    SocketHandle().SetPeer(peer, port_);
    ApplyNagle();
    ReportStatus(statusConnecting, peer);
    ConnectToPeer();
}

void TIdTCPClient::BindSocket()
{
    SocketHandle().SetLocal(boundIP_, 0);
    SocketHandle().Bind();
}

std::vector<std::string> TIdTCPClient::ResolvePeers()
{
    if (TIdStack::NeedsNameLookup(host_)) ReportStatus(statusResolving, host_);
    return SocketLayer().LookupHost(host_);
}

void TIdTCPClient::ApplyNagle()
{
    if (!useNagle_) SocketHandle().SetNoDelay(true);
}

void TIdTCPClient::ConnectToPeer()
{
    SocketLayer().CheckSocketResult(SocketHandle().Connect(connectTimeout_));
}
