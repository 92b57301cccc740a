#pragma once

#include "tests/support/TestCertificates.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ssl_st;
struct ssl_ctx_st;

// A loopback server for TLS tests. It listens on 127.0.0.1 on a port the system chooses, accepts
// one connection and plays a script on it in its own thread. Bytes go in plain text until a
// StartTls step and through TLS (with the server's certificate) after it, so one script plays a
// server speaking TLS from the first byte or one that switches to it on a command. After the last
// step it reads on until the client closes, or until it is destroyed.
class TlsTestServer
{
public:
    struct Step
    {
        enum class Kind { Send, ReadLine, StartTls, StartOldTls, CutHandshake, Stall, Echo };
        Kind kind;
        std::string bytes;

        static Step Send(std::string bytes) { return {Kind::Send, std::move(bytes)}; }
        static Step ReadLine() { return {Kind::ReadLine, {}}; }       // waits for one line ending in LF
        static Step StartTls() { return {Kind::StartTls, {}}; }       // a failed handshake ends the script
        static Step StartOldTls() { return {Kind::StartOldTls, {}}; } // offers TLS 1.1 at most
        static Step CutHandshake()
        {
            return {Kind::CutHandshake, {}};
        }                                                 // reads the client's first bytes, closes
        static Step Stall() { return {Kind::Stall, {}}; } // answers nothing until destroyed
        static Step Echo() { return {Kind::Echo, {}}; }   // sends back what arrives until the client closes
    };

    TlsTestServer(const TestCertificate& certificate, std::vector<Step> script);
    ~TlsTestServer();
    TlsTestServer(const TlsTestServer&) = delete;
    TlsTestServer& operator=(const TlsTestServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // Waits for the session to end (bounded, so a broken test fails instead of hanging) and returns
    // what the client wrote, plain and decrypted bytes in order.
    std::string Received();
    // Whether the client ended its TLS data with close_notify (valid after Received).
    bool ClientSentCloseNotify();
    // The name the client sent by SNI, empty for none (valid after Received).
    std::string ServerName();

private:
    void Run(std::vector<Step> script);
    bool Play(const Step& step);
    bool Handshake(bool oldVersionsOnly);
    bool WaitReadable();
    // Appends to received_ (which only this thread changes): the count, 0 at the end, -1 on failure
    // or stop.
    int ReceiveSome();
    void SendAll(const std::string& bytes);

    int listener_ = -1;
    int client_ = -1;
    std::uint16_t port_ = 0;
    ssl_ctx_st* context_ = nullptr;
    ssl_st* ssl_ = nullptr;
    std::atomic<bool> stop_ = false;

    std::mutex mutex_;
    std::condition_variable finished_;
    std::string received_;
    bool closeNotify_ = false;
    std::string serverName_;
    bool done_ = false;
    std::thread thread_;
};
