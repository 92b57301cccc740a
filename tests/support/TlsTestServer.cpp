#include "tests/support/TlsTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace {

// Every wait of the server ends after this long, so that a broken test fails instead of hanging.
constexpr auto SafetyLimit = std::chrono::seconds(10);
constexpr int PollTickMs = 20;

int ListeningLoopbackSocket(std::uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0 || ::listen(fd, 1) != 0)
        throw std::runtime_error("cannot listen on loopback");
    port = ntohs(address.sin_port);
    return fd;
}

SSL_CTX* ServerContext(const TestCertificate& certificate)
{
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (!context || SSL_CTX_use_certificate_chain_file(context, certificate.CertificateFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, certificate.KeyFile.c_str(), SSL_FILETYPE_PEM) != 1)
        throw std::runtime_error("cannot load " + certificate.CertificateFile);
    return context;
}

} // namespace

TlsTestServer::TlsTestServer(const TestCertificate& certificate, std::vector<Step> script)
    : context_(ServerContext(certificate))
{
    listener_ = ListeningLoopbackSocket(port_);
    ::signal(SIGPIPE, SIG_IGN); // OpenSSL writes to a client that may have gone
    thread_ = std::thread([this, script = std::move(script)]() mutable { Run(std::move(script)); });
}

TlsTestServer::~TlsTestServer()
{
    stop_ = true;
    thread_.join();
    SSL_free(ssl_);
    SSL_CTX_free(context_);
    if (client_ >= 0) ::close(client_);
    ::close(listener_);
}

std::string TlsTestServer::Received()
{
    std::unique_lock lock(mutex_);
    finished_.wait_for(lock, SafetyLimit, [this] { return done_; });
    return received_;
}

bool TlsTestServer::ClientSentCloseNotify()
{
    std::lock_guard lock(mutex_);
    return closeNotify_;
}

std::string TlsTestServer::ServerName()
{
    std::lock_guard lock(mutex_);
    return serverName_;
}

void TlsTestServer::Run(std::vector<Step> script)
{
    pollfd listening{listener_, POLLIN, 0};
    while (!stop_ && ::poll(&listening, 1, PollTickMs) == 0) {
    }
    if (!stop_) client_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client_ >= 0) {
        const timeval limit{std::chrono::seconds(SafetyLimit).count(), 0};
        ::setsockopt(client_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(client_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        bool open = true;
        for (const Step& step : script)
            if (!(open = Play(step))) break;
        while (open && ReceiveSome() > 0) {
        }
        ::shutdown(client_, SHUT_RDWR);
    }
    std::lock_guard lock(mutex_);
    done_ = true;
    finished_.notify_all();
}

bool TlsTestServer::Play(const Step& step)
{
    switch (step.kind) {
    case Step::Kind::Send:
        SendAll(step.bytes);
        return true;
    case Step::Kind::ReadLine:
        for (const std::size_t from = received_.size(); received_.find('\n', from) == std::string::npos;)
            if (ReceiveSome() <= 0) return false;
        return true;
    case Step::Kind::StartTls:
    case Step::Kind::StartOldTls:
        return Handshake(step.kind == Step::Kind::StartOldTls);
    case Step::Kind::CutHandshake:
        ReceiveSome();
        return false;
    case Step::Kind::Stall:
        while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(PollTickMs));
        return false;
    case Step::Kind::Echo:
        for (std::size_t from = received_.size(); ReceiveSome() > 0; from = received_.size())
            SendAll(received_.substr(from));
        return false;
    }
    return false;
}

bool TlsTestServer::Handshake(bool oldVersionsOnly)
{
    ssl_ = SSL_new(context_);
    SSL_set_fd(ssl_, client_);
    if (oldVersionsOnly) {
        SSL_set_security_level(ssl_, 0); // TLS 1.1 needs SHA-1, refused at the default level
        SSL_set_max_proto_version(ssl_, TLS1_1_VERSION);
    }
    if (SSL_accept(ssl_) != 1) return false;
    if (const char* name = SSL_get_servername(ssl_, TLSEXT_NAMETYPE_host_name)) {
        std::lock_guard lock(mutex_);
        serverName_ = name;
    }
    return true;
}

bool TlsTestServer::WaitReadable()
{
    if (ssl_ && SSL_pending(ssl_) > 0) return true;
    pollfd readable{client_, POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + SafetyLimit;
    while (!stop_ && std::chrono::steady_clock::now() < deadline)
        if (::poll(&readable, 1, PollTickMs) != 0) return true;
    return false;
}

int TlsTestServer::ReceiveSome()
{
    if (!WaitReadable()) return -1;
    char buffer[16384];
    const int n = ssl_ ? SSL_read(ssl_, buffer, sizeof buffer)
                       : static_cast<int>(::recv(client_, buffer, sizeof buffer, 0));
    std::lock_guard lock(mutex_);
    if (n > 0) received_.append(buffer, static_cast<std::size_t>(n));
    if (ssl_ && n <= 0) closeNotify_ = SSL_get_error(ssl_, n) == SSL_ERROR_ZERO_RETURN;
    return n;
}

void TlsTestServer::SendAll(const std::string& bytes)
{
    if (ssl_) {
        SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
        return;
    }
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(client_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}
