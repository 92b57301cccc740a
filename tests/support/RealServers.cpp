#include "tests/support/RealServers.h"

#include "tests/support/TestCertificates.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

constexpr auto StartLimit = std::chrono::seconds(15);
// Dovecot runs its mail processes as this user; the mailbox folders belong to it.
constexpr int MailUid = 65534;
constexpr int MailGid = 65534;

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (!file) throw std::runtime_error("cannot write " + path);
}

sockaddr_in Loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A port that is free on the loopback address now (the system's choice for port 0). Dovecot
// takes no port 0, so it gets one chosen this way.
std::uint16_t FreeLoopbackPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(fd);
    if (!ok) throw std::runtime_error("no free loopback port");
    return ntohs(address.sin_port);
}

// The first line a server on the port sends after a connect, or "" when nothing answers.
std::string GreetingOn(std::uint16_t port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(port);
    std::string line;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        pollfd readable{fd, POLLIN, 0};
        char buffer[256];
        ssize_t n = ::poll(&readable, 1, 2000) > 0 ? ::read(fd, buffer, sizeof buffer) : 0;
        if (n > 0) line.assign(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return line;
}

// Without TLS when `tlsPort` is 0 (its listener then takes no port).
std::string DovecotConfig(const std::string& folder, std::uint16_t port, std::uint16_t tlsPort)
{
    std::ostringstream config;
    config << "base_dir = " << folder << "/run\n"
           << "state_dir = " << folder << "/state\n"
           << "log_path = " << folder << "/dovecot.log\n"
           << "protocols = pop3\n"
           << "listen = 127.0.0.1\n";
    if (tlsPort == 0) {
        config << "ssl = no\n";
    } else {
        const TestCertificate& certificate = TestCertificates::Get().Good;
        config << "ssl = yes\nssl_cert = <" << certificate.CertificateFile << "\nssl_key = <"
               << certificate.KeyFile << "\n";
    }
    config << "disable_plaintext_auth = no\n"
           << "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u " << folder
           << "/passwd\n}\n"
           << "userdb {\n  driver = static\n  args = uid=" << MailUid << " gid=" << MailGid
           << " home=" << folder << "/home/%u\n}\n"
           << "first_valid_uid = " << MailUid << "\n"
           << "mail_location = maildir:~/Maildir\n"
           << "service pop3-login {\n  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " << port
           << "\n  }\n  inet_listener pop3s {\n    address = 127.0.0.1\n    port = " << tlsPort
           << "\n    ssl = yes\n  }\n}\n";
    return config.str();
}

} // namespace

std::string SmtpServerScript()
{
    return std::string(TP_TEST_SUPPORT_DIR) + "/smtp_server.py";
}

RealSmtpServer::RealSmtpServer(const std::string& script)
{
    Start({"/usr/bin/python3", script, folder_.Path()});
}

RealSmtpServer::RealSmtpServer(const std::string& user, const std::string& password,
                               const std::string& script)
{
    const TestCertificate& certificate = TestCertificates::Get().Good;
    Start({"/usr/bin/python3", script, folder_.Path(), certificate.CertificateFile, certificate.KeyFile, user,
           password});
}

// The script prints its ports on one line: plain, then STARTTLS and TLS when it has them.
void RealSmtpServer::Start(std::vector<std::string> arguments)
{
    process_ = std::make_unique<ChildProcess>(arguments, folder_.File("smtp.log"));
    std::optional<std::string> ports = process_->ReadLine(StartLimit);
    if (!ports) throw std::runtime_error("the SMTP server did not start: " + process_->ErrorText());
    std::istringstream line(*ports);
    line >> port_ >> startTlsPort_ >> tlsPort_;
}

std::vector<std::string> RealSmtpServer::Messages() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
        if (entry.path().extension() == ".eml") names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> messages;
    for (const std::string& name : names) messages.push_back(ReadFile(name));
    return messages;
}

std::vector<std::string> RealSmtpServer::WaitForMessages(std::size_t count,
                                                         std::chrono::milliseconds limit) const
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::vector<std::string> messages = Messages();
    while (messages.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        messages = Messages();
    }
    return messages;
}

RealPop3Server::RealPop3Server(const std::string& user, const std::string& password, Pop3Tls tls)
{
    // Dovecot's login processes run as another user and must reach the folder.
    std::filesystem::permissions(folder_.Path(), std::filesystem::perms(0755));
    const std::string home = folder_.File("home");
    std::filesystem::create_directory(home);
    if (::chown(home.c_str(), MailUid, MailGid) != 0)
        throw std::runtime_error("cannot hand " + home + " over");
    WriteFile(folder_.File("passwd"), user + ":{PLAIN}" + password + "::::::\n");
    // Another program may take the chosen port before Dovecot binds it; then try another one.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (TryStart(FreeLoopbackPort(), tls)) return;
    throw std::runtime_error("Dovecot did not start: " + ReadFile(folder_.File("dovecot.log")) +
                             ReadFile(folder_.File("dovecot.err")));
}

bool RealPop3Server::TryStart(std::uint16_t port, Pop3Tls tls)
{
    std::uint16_t tlsPort = 0;
    while (tls == Pop3Tls::On && (tlsPort == 0 || tlsPort == port)) tlsPort = FreeLoopbackPort();
    const std::string config = folder_.File("dovecot.conf");
    WriteFile(config, DovecotConfig(folder_.Path(), port, tlsPort));
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/sbin/dovecot", "-F", "-c", config}, folder_.File("dovecot.err"));
    const auto deadline = std::chrono::steady_clock::now() + StartLimit;
    // Dovecot opens both listeners before it greets on either.
    while (process_->Running() && std::chrono::steady_clock::now() < deadline) {
        if (GreetingOn(port).starts_with("+OK")) {
            port_ = port;
            tlsPort_ = tlsPort;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    process_.reset();
    return false;
}
