#pragma once

#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Real mail servers for integration tests and benchmarks, each on 127.0.0.1 and ports the system
// chooses, with every file of its own in a temporary folder. Starting one waits until it answers;
// a server that cannot start raises std::runtime_error with its error output. Each stops (and
// its folder goes) with the object. A server with TLS presents TestCertificates::Get().Good,
// which it makes first, so the process (and every program it starts) trusts it.

// Debian's aiosmtpd (tests/support/smtp_server.py); it keeps every message it accepts.
// The SMTP server's script in the checkout.
std::string SmtpServerScript();

class RealSmtpServer
{
public:
    // `script` is a copy of SmtpServerScript() for a test whose user may not read the checkout.
    explicit RealSmtpServer(const std::string& script = SmtpServerScript());
    // Also listens with STARTTLS on StartTlsPort() and with TLS from the first byte on TlsPort();
    // there it requires AUTH (PLAIN or LOGIN) as `user` with `password` before MAIL. Port() stays
    // plain, without AUTH.
    RealSmtpServer(const std::string& user, const std::string& password,
                   const std::string& script = SmtpServerScript());
    std::uint16_t Port() const { return port_; }
    std::uint16_t StartTlsPort() const { return startTlsPort_; }
    std::uint16_t TlsPort() const { return tlsPort_; }
    // The messages accepted so far, as the bytes after DATA (dot-stuffing removed), in order.
    std::vector<std::string> Messages() const;
    // Waits (at most `limit`) until `count` messages are there, then returns all of them.
    std::vector<std::string>
    WaitForMessages(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

private:
    void Start(std::vector<std::string> arguments);

    TempFolder folder_{"tickerpost-smtp"};
    std::unique_ptr<ChildProcess> process_;
    std::uint16_t port_ = 0;
    std::uint16_t startTlsPort_ = 0;
    std::uint16_t tlsPort_ = 0;
};

enum class Pop3Tls { Off, On };

// Dovecot's POP3 service with one mailbox user, plain text log-in allowed. With Pop3Tls::On it
// offers STLS on Port() and speaks TLS from the first byte on TlsPort() (995-style). A wrong
// password is answered after Dovecot's usual delay of about two seconds.
class RealPop3Server
{
public:
    // The password must not hold ":" or a line break (the passwd-file format).
    RealPop3Server(const std::string& user, const std::string& password, Pop3Tls tls = Pop3Tls::Off);
    std::uint16_t Port() const { return port_; }
    std::uint16_t TlsPort() const { return tlsPort_; }

private:
    bool TryStart(std::uint16_t port, Pop3Tls tls);

    TempFolder folder_{"tickerpost-pop3"};
    std::unique_ptr<ChildProcess> process_;
    std::uint16_t port_ = 0;
    std::uint16_t tlsPort_ = 0;
};
