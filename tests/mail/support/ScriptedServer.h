#pragma once

#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A loopback TCP server for protocol tests. It listens on 127.0.0.1 on an ephemeral port, accepts
// one connection and plays a script of steps on it in its own thread, recording every byte the
// client writes. After the last step it keeps reading (and recording) until the client closes, the
// client stays quiet for a moment, or the server is destroyed.
class ScriptedServer
{
public:
    struct Step
    {
        enum class Kind { Send, Trickle, ReadLine, ReadData, Close, Reset, Stall, Flood, ReadSlowly };
        Kind kind;
        std::string bytes;

        static Step Send(std::string bytes) { return {Kind::Send, std::move(bytes)}; } // exactly these bytes
        static Step Reply(std::string line) { return {Kind::Send, std::move(line) + "\r\n"}; }
        // These bytes one at a time, TrickleGapMs apart: each receive gets a byte in time, the
        // whole takes far longer than a reply may.
        static Step Trickle(std::string bytes) { return {Kind::Trickle, std::move(bytes)}; }
        static Step ReadLine() { return {Kind::ReadLine, {}}; } // waits for one line ending in LF
        static Step Close() { return {Kind::Close, {}}; }       // orderly close (FIN)
        static Step Reset() { return {Kind::Reset, {}}; }       // SO_LINGER 0 close (RST)
        static Step Stall() { return {Kind::Stall, {}}; }       // reads and answers nothing until destroyed
        static Step Flood() { return {Kind::Flood, {}}; }       // one endless line until the peer goes
        // Reads (and records) at most 16 KiB every TrickleGapMs until the client goes.
        static Step ReadSlowly() { return {Kind::ReadSlowly, {}}; }
        // Reads lines up to the line "." that ends the data of an SMTP message.
        static Step ReadData() { return {Kind::ReadData, {}}; }
    };

    explicit ScriptedServer(std::initializer_list<Step> script);
    // The dialogue form: the first reply is sent at once (the greeting), each later reply after
    // reading one line from the client; the reply after a "354" (SMTP's go-ahead for the data)
    // after reading the data. A reply of several lines holds its inner CR LFs.
    explicit ScriptedServer(std::vector<std::string> replies);
    // A script assembled at run time or kept in a table.
    static std::unique_ptr<ScriptedServer> FromSteps(std::vector<Step> script);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t Port() const { return port_; }

    // Wait for the session to end (see above; bounded by a safety limit so a broken test fails
    // instead of hanging) and return what the client wrote: exact bytes, or the lines split at
    // CR LF (a last unfinished piece included).
    std::string ReceivedBytes();
    std::vector<std::string> Received();

private:
    ScriptedServer(std::vector<Step> script, int); // the constructors above end here
    void Run(std::vector<Step> script);
    bool Accept();
    bool Play(const Step& step);
    // The next line from the client, its LF included; false when the connection ends first.
    bool ReadLine(std::string& line);
    void WaitForStop();
    bool WaitReadable(int timeoutMs); // false when stopped, or on time-out
    bool ReceiveSome(int timeoutMs);  // false at end of stream, on stop, error or time-out
    void SendAll(const std::string& bytes);
    bool Trickle(const std::string& bytes);
    void Flood();
    void ReadSlowly();
    void Drain();
    void CloseClient(bool reset);
    void Finish();

    int listener_ = -1;
    int client_ = -1;
    int stopPipe_[2] = {-1, -1};
    std::uint16_t port_ = 0;
    std::size_t lineSearchFrom_ = 0; // bytes_ up to here hold only lines already consumed by ReadLine

    std::mutex mutex_;
    std::condition_variable finished_;
    std::string bytes_;
    bool done_ = false;
    std::thread thread_;
};

// Lines of a transcript, for comparisons like EXPECT_EQ(server.Received(), Lines({...})).
inline std::vector<std::string> Lines(std::vector<std::string> lines)
{
    return lines;
}

// The parts of a transcript joined in order.
inline std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Connects a client of the mail layer (a TIdTCPClient or a protocol client) to `server`, a loopback
// server or listener of the tests.
template <class Client, class Server> void ConnectTo(Client& client, const Server& server)
{
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection();
}

inline constexpr int TrickleGapMs = 100;

// A loopback listener that answers no connection request, as behind a firewall that drops them:
// its queue of waiting connections is kept full, so the system ignores further requests and a
// connect waits until its own limit. Only long after a client's connect has given up is the queue
// emptied, so that a request still pending (the system retries it) would then get through;
// Received() waits for that and returns every byte written on any connection.
class UnansweredListener
{
public:
    UnansweredListener();
    ~UnansweredListener();
    UnansweredListener(const UnansweredListener&) = delete;
    UnansweredListener& operator=(const UnansweredListener&) = delete;
    std::uint16_t Port() const { return port_; }
    std::vector<std::string> Received();

private:
    std::uint16_t port_ = 0;
    int listener_ = -1;
    std::vector<int> fillers_;  // the connections that keep the queue full
    std::vector<int> accepted_; // taken out of the queue, the fillers among them
    std::thread opener_;
};

// A loopback port on which a socket is bound but does not listen: connecting to it is refused.
class RefusingPort
{
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    std::uint16_t Port() const { return port_; }

private:
    // Before socket_: the socket's initialiser sets the port.
    std::uint16_t port_ = 0;
    int socket_ = -1;
};
