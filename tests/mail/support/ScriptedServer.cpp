#include "tests/mail/support/ScriptedServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace {

// A client that sends nothing for this long after the script ended is taken to be done.
constexpr int QuietEndMs = 500;
// Received() gives up waiting after this long, so that a broken test fails instead of hanging.
constexpr auto SafetyLimit = std::chrono::seconds(10);

int BoundLoopbackSocket(std::uint16_t& port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("bind failed");
    }
    port = ntohs(address.sin_port);
    return fd;
}

std::vector<std::string> SplitAtCrLf(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

// Long after any connect limit of a test, and after the system's first retry of a connection
// request (one second after it), which still finds the queue full.
constexpr auto UnansweredFor = std::chrono::milliseconds(1500);

// A connection to the loopback port, or -1 when it is not made within a fifth of a second.
int ConnectedWithin200Ms(std::uint16_t port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    pollfd entry{fd, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    if (::poll(&entry, 1, 200) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
        error == 0)
        return fd;
    ::close(fd);
    return -1;
}

// Takes every connection waiting on a non-blocking listener.
std::vector<int> AcceptAll(int listener)
{
    std::vector<int> accepted;
    for (int fd; (fd = ::accept(listener, nullptr, nullptr)) != -1;) accepted.push_back(fd);
    return accepted;
}

std::vector<ScriptedServer::Step> DialogueScript(const std::vector<std::string>& replies)
{
    std::vector<ScriptedServer::Step> script;
    for (std::size_t i = 0; i < replies.size(); ++i) {
        if (i > 0)
            script.push_back(replies[i - 1].starts_with("354") ? ScriptedServer::Step::ReadData()
                                                               : ScriptedServer::Step::ReadLine());
        script.push_back(ScriptedServer::Step::Reply(replies[i]));
    }
    return script;
}

} // namespace

ScriptedServer::ScriptedServer(std::initializer_list<Step> script)
    : ScriptedServer(std::vector<Step>(script), 0)
{
}

ScriptedServer::ScriptedServer(std::vector<Step> script, int)
{
    listener_ = BoundLoopbackSocket(port_);
    if (::listen(listener_, 4) != 0 || ::pipe(stopPipe_) != 0) {
        ::close(listener_);
        throw std::runtime_error("listen failed");
    }
    thread_ = std::thread([this, script = std::move(script)]() mutable { Run(std::move(script)); });
}

ScriptedServer::ScriptedServer(std::vector<std::string> replies) : ScriptedServer(DialogueScript(replies), 0)
{
}

std::unique_ptr<ScriptedServer> ScriptedServer::FromSteps(std::vector<Step> script)
{
    return std::unique_ptr<ScriptedServer>(new ScriptedServer(std::move(script), 0));
}

ScriptedServer::~ScriptedServer()
{
    char stop = 1;
    (void)!::write(stopPipe_[1], &stop, 1);
    thread_.join();
    if (client_ >= 0) ::close(client_);
    ::close(listener_);
    ::close(stopPipe_[0]);
    ::close(stopPipe_[1]);
}

std::string ScriptedServer::ReceivedBytes()
{
    std::unique_lock lock(mutex_);
    finished_.wait_for(lock, SafetyLimit, [this] { return done_; });
    return bytes_;
}

std::vector<std::string> ScriptedServer::Received()
{
    return SplitAtCrLf(ReceivedBytes());
}

void ScriptedServer::Run(std::vector<Step> script)
{
    if (Accept()) {
        bool open = true;
        for (const Step& step : script)
            if (!(open = Play(step))) break;
        if (open) Drain();
    }
    Finish();
}

bool ScriptedServer::Accept()
{
    pollfd fds[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN)) return false;
    client_ = ::accept(listener_, nullptr, nullptr);
    return client_ >= 0;
}

// Plays one step; false when the connection has ended (by the step or the client).
bool ScriptedServer::Play(const Step& step)
{
    switch (step.kind) {
    case Step::Kind::Send:
        SendAll(step.bytes);
        return true;
    case Step::Kind::Trickle:
        return Trickle(step.bytes);
    case Step::Kind::ReadLine: {
        std::string line;
        return ReadLine(line);
    }
    case Step::Kind::ReadData:
        for (std::string line; ReadLine(line);)
            if (line == ".\r\n") return true;
        return false;
    case Step::Kind::Close:
        CloseClient(false);
        return false;
    case Step::Kind::Reset:
        CloseClient(true);
        return false;
    case Step::Kind::Stall:
        WaitForStop();
        return false;
    case Step::Kind::Flood:
        Flood();
        return false;
    case Step::Kind::ReadSlowly:
        ReadSlowly();
        return false;
    }
    return false;
}

bool ScriptedServer::ReadLine(std::string& line)
{
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            std::size_t lf = bytes_.find('\n', lineSearchFrom_);
            if (lf != std::string::npos) {
                line = bytes_.substr(lineSearchFrom_, lf + 1 - lineSearchFrom_);
                lineSearchFrom_ = lf + 1;
                return true;
            }
        }
        if (!ReceiveSome(-1)) return false;
    }
}

void ScriptedServer::WaitForStop()
{
    pollfd stop{stopPipe_[0], POLLIN, 0};
    while (::poll(&stop, 1, -1) == -1 && errno == EINTR) {
    }
}

bool ScriptedServer::WaitReadable(int timeoutMs)
{
    pollfd fds[2] = {{client_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    return ::poll(fds, 2, timeoutMs) > 0 && !(fds[1].revents & POLLIN);
}

bool ScriptedServer::ReceiveSome(int timeoutMs)
{
    if (!WaitReadable(timeoutMs)) return false;
    char chunk[4096];
    ssize_t n = ::recv(client_, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    std::lock_guard lock(mutex_);
    bytes_.append(chunk, static_cast<std::size_t>(n));
    return true;
}

void ScriptedServer::SendAll(const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(client_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

// False when the client went or the server was stopped before the last byte.
bool ScriptedServer::Trickle(const std::string& bytes)
{
    for (char byte : bytes) {
        pollfd stop{stopPipe_[0], POLLIN, 0};
        if (::poll(&stop, 1, TrickleGapMs) != 0) return false;
        if (::send(client_, &byte, 1, MSG_NOSIGNAL) != 1) return false;
    }
    return true;
}

// Sends "x" without end until the client closes or resets, or the server is stopped.
void ScriptedServer::Flood()
{
    const std::string chunk(16384, 'x');
    for (;;) {
        pollfd fds[2] = {{client_, POLLOUT, 0}, {stopPipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN)) return;
        if (fds[0].revents & (POLLERR | POLLHUP)) return;
        if (::send(client_, chunk.data(), chunk.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno != EAGAIN)
            return;
    }
}

void ScriptedServer::ReadSlowly()
{
    char chunk[16384];
    for (;;) {
        pollfd stop{stopPipe_[0], POLLIN, 0};
        if (::poll(&stop, 1, TrickleGapMs) != 0) return;
        ssize_t n = ::recv(client_, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN)) return;
        if (n < 0) continue;
        std::lock_guard lock(mutex_);
        bytes_.append(chunk, static_cast<std::size_t>(n));
    }
}

void ScriptedServer::Drain()
{
    while (ReceiveSome(QuietEndMs)) {
    }
}

void ScriptedServer::CloseClient(bool reset)
{
    if (reset) {
        linger hard{1, 0};
        ::setsockopt(client_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    ::close(client_);
    client_ = -1;
}

void ScriptedServer::Finish()
{
    std::lock_guard lock(mutex_);
    done_ = true;
    finished_.notify_all();
}

UnansweredListener::UnansweredListener() : listener_(BoundLoopbackSocket(port_))
{
    // With a backlog of 0 the queue holds one connection; fill it until a request goes unanswered.
    ::listen(listener_, 0);
    ::fcntl(listener_, F_SETFL, O_NONBLOCK);
    for (int fd; fillers_.size() < 8 && (fd = ConnectedWithin200Ms(port_)) != -1;) fillers_.push_back(fd);
    opener_ = std::thread([this] {
        std::this_thread::sleep_for(UnansweredFor);
        accepted_ = AcceptAll(listener_);
    });
}

UnansweredListener::~UnansweredListener()
{
    if (opener_.joinable()) opener_.join();
    for (int fd : fillers_) ::close(fd);
    for (int fd : accepted_) ::close(fd);
    ::close(listener_);
}

std::vector<std::string> UnansweredListener::Received()
{
    opener_.join();
    for (int fd : AcceptAll(listener_)) accepted_.push_back(fd);
    std::string bytes;
    char chunk[4096];
    for (int fd : accepted_) {
        pollfd entry{fd, POLLIN, 0};
        for (ssize_t n; ::poll(&entry, 1, QuietEndMs) == 1 && (n = ::recv(fd, chunk, sizeof chunk, 0)) > 0;)
            bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return SplitAtCrLf(bytes);
}

RefusingPort::RefusingPort() : socket_(BoundLoopbackSocket(port_)) {}

RefusingPort::~RefusingPort()
{
    ::close(socket_);
}
