#include "mail/IdStackPosix.h"

#include "mail/IdDeadline.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace {

// The error number of the last failed call on this thread, as a Windows Sockets number.
thread_local int GLastError = 0;

int Fail(int winsockError)
{
    GLastError = winsockError;
    return -1;
}

int FailFromErrno()
{
    return Fail(WinsockErrorFromErrno(errno));
}

int Checked(int result)
{
    return result == -1 ? FailFromErrno() : result;
}

int Fd(TIdStackSocketHandle socket)
{
    return static_cast<int>(socket);
}

// A socket address of either version, as the socket calls take it.
struct SocketAddress
{
    sockaddr_storage Storage{};
    socklen_t Length = 0;
    const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&Storage); }
};

int FamilyOf(int fd)
{
    int family = AF_INET;
    socklen_t length = sizeof family;
    ::getsockopt(fd, SOL_SOCKET, SO_DOMAIN, &family, &length);
    return family;
}

// The address for a socket of `family`; an empty text is any address. False for a text that is
// no address of that family.
bool ToSocketAddress(int family, const TIdSocketAddress& address, SocketAddress& result)
{
    const char* text =
        address.Address.empty() ? (family == AF_INET6 ? "::" : "0.0.0.0") : address.Address.c_str();
    if (family == AF_INET6) {
        auto& in6 = reinterpret_cast<sockaddr_in6&>(result.Storage);
        in6.sin6_family = AF_INET6;
        in6.sin6_port = htons(address.Port);
        result.Length = sizeof in6;
        return ::inet_pton(AF_INET6, text, &in6.sin6_addr) == 1;
    }
    auto& in4 = reinterpret_cast<sockaddr_in&>(result.Storage);
    in4.sin_family = AF_INET;
    in4.sin_port = htons(address.Port);
    result.Length = sizeof in4;
    return ::inet_pton(AF_INET, text, &in4.sin_addr) == 1;
}

TIdSocketAddress FromSockAddr(const sockaddr* address)
{
    char text[INET6_ADDRSTRLEN] = {};
    TIdSocketAddress result;
    if (address->sa_family == AF_INET6) {
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(address);
        ::inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
        result.Port = ntohs(in6->sin6_port);
    } else {
        const auto* in4 = reinterpret_cast<const sockaddr_in*>(address);
        ::inet_ntop(AF_INET, &in4->sin_addr, text, sizeof text);
        result.Port = ntohs(in4->sin_port);
    }
    result.Address = text;
    return result;
}

// The address for the socket's own family; EINVAL (10022) for a text that is none.
template <class Call>
int WithSocketAddress(TIdStackSocketHandle socket, const TIdSocketAddress& address, Call call)
{
    SocketAddress converted;
    if (!ToSocketAddress(FamilyOf(Fd(socket)), address, converted))
        return Fail(WinsockErrorFromErrno(EINVAL));
    return call(converted);
}

template <class Call> int ReadAddress(Call call, TIdStackSocketHandle socket, TIdSocketAddress& out)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (call(Fd(socket), reinterpret_cast<sockaddr*>(&address), &length) == -1) return FailFromErrno();
    out = FromSockAddr(reinterpret_cast<const sockaddr*>(&address));
    return 0;
}

// poll() on one socket, restarted after signals with the time that is left.
int PollOne(int fd, short events, int timeoutMs)
{
    const TIdDeadline deadline(timeoutMs);
    for (;;) {
        const int left = deadline.RemainingMs();
        pollfd entry{fd, events, 0};
        int result = ::poll(&entry, 1, left == WaitForever ? -1 : left);
        if (result != -1 || errno != EINTR) return result;
    }
}

// A non-blocking connect, waited for at most timeoutMs; the socket is blocking again afterwards.
int ConnectWithin(int fd, const SocketAddress& peer, int timeoutMs)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == -1) return FailFromErrno();
    int result = ::connect(fd, peer.Get(), peer.Length);
    if (result == -1 && errno != EINPROGRESS)
        result = FailFromErrno();
    else if (result == -1) {
        int ready = PollOne(fd, POLLOUT, timeoutMs);
        int error = 0;
        socklen_t length = sizeof error;
        if (ready == -1)
            result = FailFromErrno();
        else if (ready == 0)
            result = Fail(WSAETIMEDOUT);
        else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == -1)
            result = FailFromErrno();
        else
            result = error == 0 ? 0 : Fail(WinsockErrorFromErrno(error));
    }
    if (::fcntl(fd, F_SETFL, flags) == -1 && result == 0) result = FailFromErrno();
    return result;
}

// The Winsock error that each errno value reports as; several errno values share one (ESHUTDOWN
// and EPIPE: sending after our own or the peer's shutdown). Any other errno value stays as it is.
struct ErrnoWinsockError
{
    int Errno;
    int Winsock;
};

constexpr ErrnoWinsockError ErrnoWinsockErrors[] = {
    {EINTR, 10004},           {EBADF, 10009},           {EACCES, 10013},        {EPERM, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},          {EMFILE, 10024},        {ENFILE, 10024},
    {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},     {EALREADY, 10037},      {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},    {ENOPROTOOPT, 10042},
    {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},    {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},
    {ENETUNREACH, 10051},     {ENETRESET, 10052},       {ECONNABORTED, 10053},  {ECONNRESET, 10054},
    {ENOBUFS, 10055},         {ENOMEM, 10055},          {EISCONN, 10056},       {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},       {EPIPE, 10058},           {ETOOMANYREFS, 10059},  {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061},    {ELOOP, 10062},           {ENAMETOOLONG, 10063},  {EHOSTDOWN, 10064},
    {EHOSTUNREACH, 10065},    {ENOTEMPTY, 10066},
};

} // namespace

int WinsockErrorFromErrno(int errnoValue)
{
    const auto* found =
        std::find_if(std::begin(ErrnoWinsockErrors), std::end(ErrnoWinsockErrors),
                     [errnoValue](const ErrnoWinsockError& row) { return row.Errno == errnoValue; });
    return found == std::end(ErrnoWinsockErrors) ? errnoValue : found->Winsock;
}

int WinsockErrorFromLookup(int lookupError, int errnoValue)
{
    switch (lookupError) {
    case EAI_NONAME:
        return 11001;
    case EAI_AGAIN:
        return 11002;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
    case EAI_FAMILY:
        return 11004;
    case EAI_MEMORY:
        return 10055;
    case EAI_SYSTEM:
        return WinsockErrorFromErrno(errnoValue);
    default:
        return 11003;
    }
}

TIdStackSocketHandle TIdStackPosix::CreateStreamSocket(TIdIPVersion version)
{
    int fd = ::socket(version == TIdIPVersion::IPv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return fd == -1 ? FailFromErrno() : fd;
}

int TIdStackPosix::Bind(TIdStackSocketHandle socket, const TIdSocketAddress& local)
{
    return WithSocketAddress(socket, local, [&](const SocketAddress& address) {
        return Checked(::bind(Fd(socket), address.Get(), address.Length));
    });
}

int TIdStackPosix::Connect(TIdStackSocketHandle socket, const TIdSocketAddress& peer, int timeoutMs)
{
    return WithSocketAddress(socket, peer, [&](const SocketAddress& address) {
        if (timeoutMs == WaitForever) return Checked(::connect(Fd(socket), address.Get(), address.Length));
        return ConnectWithin(Fd(socket), address, timeoutMs);
    });
}

int TIdStackPosix::GetLocalAddress(TIdStackSocketHandle socket, TIdSocketAddress& local)
{
    return ReadAddress(::getsockname, socket, local);
}

int TIdStackPosix::GetPeerAddress(TIdStackSocketHandle socket, TIdSocketAddress& peer)
{
    return ReadAddress(::getpeername, socket, peer);
}

int TIdStackPosix::SetNoDelay(TIdStackSocketHandle socket, bool on)
{
    int value = on ? 1 : 0;
    return Checked(::setsockopt(Fd(socket), IPPROTO_TCP, TCP_NODELAY, &value, sizeof value));
}

int TIdStackPosix::SetSendTimeout(TIdStackSocketHandle socket, int timeoutMs)
{
    timeval limit{};
    if (timeoutMs != WaitForever) limit = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return Checked(::setsockopt(Fd(socket), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit));
}

int TIdStackPosix::WaitReadable(TIdStackSocketHandle socket, int timeoutMs)
{
    return Checked(PollOne(Fd(socket), POLLIN, timeoutMs));
}

int TIdStackPosix::Receive(TIdStackSocketHandle socket, char* buffer, int length)
{
    for (;;) {
        ssize_t n = ::recv(Fd(socket), buffer, static_cast<std::size_t>(length), 0);
        if (n >= 0) return static_cast<int>(n);
        if (errno != EINTR) return FailFromErrno();
    }
}

// MSG_NOSIGNAL: a send to a closed peer fails with an error instead of ending the process. A broken
// pipe there means the peer has gone (this program never sends after its own shutdown): the reset
// that a receive reports as well.
int TIdStackPosix::Send(TIdStackSocketHandle socket, const char* buffer, int length)
{
    for (;;) {
        ssize_t n = ::send(Fd(socket), buffer, static_cast<std::size_t>(length), MSG_NOSIGNAL);
        if (n >= 0) return static_cast<int>(n);
        if (errno == EAGAIN || errno == EWOULDBLOCK) return Fail(WSAETIMEDOUT); // the send time-out ran out
        if (errno == EPIPE) return Fail(WSAECONNRESET);
        if (errno != EINTR) return FailFromErrno();
    }
}

void TIdStackPosix::ShutdownSending(TIdStackSocketHandle socket)
{
    ::shutdown(Fd(socket), SHUT_WR);
}

void TIdStackPosix::CloseSocket(TIdStackSocketHandle socket)
{
    ::close(Fd(socket));
}

bool TIdStackPosix::HostByName(const std::string& name, std::vector<std::string>& addresses)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int error = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (error != 0) {
        Fail(WinsockErrorFromLookup(error, errno));
        return false;
    }
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        std::string address = FromSockAddr(entry->ai_addr).Address;
        if (std::find(addresses.begin(), addresses.end(), address) == addresses.end())
            addresses.push_back(std::move(address));
    }
    ::freeaddrinfo(found);
    if (addresses.empty()) Fail(11004);
    return !addresses.empty();
}

std::string TIdStackPosix::HostName()
{
    char name[250] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

int TIdStackPosix::LastError()
{
    return GLastError;
}

std::unique_ptr<TIdStack> CreatePlatformStack()
{
    return std::make_unique<TIdStackPosix>();
}
