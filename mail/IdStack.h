#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A time-out in milliseconds that means no limit.
inline constexpr int WaitForever = -2;

// The platform's socket handle; InvalidSocketHandle when there is none.
using TIdStackSocketHandle = std::intptr_t;
inline constexpr TIdStackSocketHandle InvalidSocketHandle = -1;

enum class TIdIPVersion { IPv4, IPv6 };

// An address as text (a dotted quad or an IPv6 literal such as "::1"; empty: any address of the
// socket's version) and a port (host order).
struct TIdSocketAddress
{
    std::string Address;
    std::uint16_t Port = 0;
};

// Windows Sockets error numbers that callers test for by name.
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;

// The socket layer: name lookup, address text, error numbers and the platform's socket calls.
// The platform calls are the pure virtual ones; a platform file (IdStackPosix) implements them and
// nothing else in the mail transport touches the platform. Every platform call returns what the
// Windows Sockets call of the same purpose returns (-1 on failure) and leaves the failure's
// Windows Sockets error number for LastError; POSIX errors map to the number of the same name.
class TIdStack
{
public:
    virtual ~TIdStack() = default;

    // "localhost" in any letter case gives "127.0.0.1" and a dotted quad itself; any other text is
    // looked up and gives all its IPv6 and IPv4 addresses in the order of the lookup (an IPv6
    // literal gives itself). A failed lookup raises EIdSocketError with the lookup's error number
    // (11001 to 11004).
    std::vector<std::string> LookupHost(const std::string& host);
    // Four parts cut at the first three dots, each an integer from 0 to 255.
    static bool IsDottedQuad(std::string_view text);
    // False for "localhost" (any letter case), dotted quads and IPv6 literals (any text with a
    // colon, which no host name holds): no name server is asked for them.
    static bool NeedsNameLookup(std::string_view host);
    // IPv6 for an address that holds a colon.
    static TIdIPVersion VersionOf(std::string_view address);
    std::string LocalHostName();
    // False when result is not -1. Otherwise true when the last error number is tolerated; any other
    // error raises EIdSocketError.
    bool CheckSocketResult(int result, std::initializer_list<int> tolerated = {});
    [[noreturn]] void ThrowSocketError(int errorNumber);

    virtual TIdStackSocketHandle CreateStreamSocket(TIdIPVersion version) = 0;
    virtual int Bind(TIdStackSocketHandle socket, const TIdSocketAddress& local) = 0;
    // Blocks until the connection stands or fails, at most timeoutMs (WaitForever: as long as the
    // platform waits); running out fails with WSAETIMEDOUT.
    virtual int Connect(TIdStackSocketHandle socket, const TIdSocketAddress& peer, int timeoutMs) = 0;
    virtual int GetLocalAddress(TIdStackSocketHandle socket, TIdSocketAddress& local) = 0;
    virtual int GetPeerAddress(TIdStackSocketHandle socket, TIdSocketAddress& peer) = 0;
    virtual int SetNoDelay(TIdStackSocketHandle socket, bool on) = 0;
    // A send call that cannot hand over its bytes for this long returns what it handed over, or
    // fails with WSAETIMEDOUT when that is nothing.
    virtual int SetSendTimeout(TIdStackSocketHandle socket, int timeoutMs) = 0;
    // 1 when readable (or at its end, or failed), 0 on time-out, -1 on failure.
    virtual int WaitReadable(TIdStackSocketHandle socket, int timeoutMs) = 0;
    virtual int Receive(TIdStackSocketHandle socket, char* buffer, int length) = 0;
    virtual int Send(TIdStackSocketHandle socket, const char* buffer, int length) = 0;
    virtual void ShutdownSending(TIdStackSocketHandle socket) = 0;
    virtual void CloseSocket(TIdStackSocketHandle socket) = 0;
    // Every address of the name, IPv6 and IPv4, each once in the lookup's order. False when the
    // lookup fails; LastError then holds its number.
    virtual bool HostByName(const std::string& name, std::vector<std::string>& addresses) = 0;
    virtual std::string HostName() = 0;
    virtual int LastError() = 0;
};

// The process-wide socket layer. It is started with the first live TIdComponent and stopped with
// the last one; SocketLayer() may be used only while one lives.
void StartSocketLayer();
void StopSocketLayer();
bool SocketLayerStarted();
TIdStack& SocketLayer();

// The socket layer of the platform this program is built for.
std::unique_ptr<TIdStack> CreatePlatformStack();
