#pragma once

#include "mail/IdComponent.h"
#include "mail/IdDeadline.h"
#include "mail/IdSocketHandle.h"

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

// Reply codes besides the three-digit ones: a last reply line beginning with "+OK" (any letter
// case) gives PositiveReply, one beginning with "-ERR" (or whose first three characters are no
// number) gives NegativeReply. AnyReply as the expected code accepts every reply.
inline constexpr std::int16_t PositiveReply = 1;
inline constexpr std::int16_t NegativeReply = 0;
inline constexpr std::int16_t AnyReply = -1;

using TIdReplyCodes = std::vector<std::int16_t>;

// Default limits (milliseconds and bytes); each is settable per connection.
// A reply must arrive within a minute: slow servers answer in seconds, and some wait a few seconds
// on purpose after a wrong password.
inline constexpr int DefaultReplyTimeout = 60'000;
// One reply line may be up to 64 KiB, far above the 512 octets SMTP allows (RFC 5321 4.5.3.1.5).
inline constexpr std::size_t DefaultMaxLineLength = 64 * 1024;

// A blocking, line-oriented TCP connection: an input buffer, lines ended by CR LF, replies of line
// protocols with their codes, and progress reports for the bytes written and read.
//
// Sending: every WriteLine is one send call of the text and its CR LF, and every call goes to the
// socket at once. TIdTCPClient switches Nagle's algorithm off when it connects (UseNagle is false by
// default), so that a message written line by line leaves at once instead of waiting for the
// peer's delayed acknowledgement; writers therefore write line by line and need gather nothing.
class TIdTCPConnection : public TIdComponent
{
public:
    TIdTCPConnection();
    ~TIdTCPConnection() override;

    TNotifyEvent OnDisconnected;

    // True exactly when the socket is open and its connection was made; sends and receives nothing,
    // so a connection whose peer has gone counts as connected until a read has seen the end or a
    // write has failed. A socket whose connect did not succeed counts as closed: nothing is ever
    // written on it.
    bool IsConnected();
    virtual void CloseConnection();
    // Closes the socket if it is open, with its status reports and OnDisconnected.
    void ReleaseSocket();
    // When the peer has closed or no connection stands: releases the socket, then raises
    // EIdConnClosedGracefully when raiseIfClosed and (ignoreBuffered or the input buffer is empty).
    void CheckForClose(bool raiseIfClosed, bool ignoreBuffered);
    void ResetForConnect();

    // Sends all bytes within ReplyTimeout as a whole, however slowly the peer takes them. Running
    // out, or a failed send (10054 when the peer has reset or closed the connection), releases the
    // socket and raises EIdSocketError.
    void WriteBytes(const char* buffer, int count);
    void WriteText(std::string_view text);
    // Writes text and CR LF in one send call. A text holding CR or LF is refused with
    // EIdLineBreakInLine and nothing is written, so no value can smuggle in a further command.
    void WriteLine(std::string_view text);

    // Switches to TLS once the peer has agreed (220 to STARTTLS, +OK to STLS, or at once on a TLS
    // port), the handshake bounded by ReplyTimeout. Bytes already received after the agreement
    // would be read as if they had come encrypted (RFC 3207 5): they release the socket and raise
    // EIdTlsError. A failed handshake has released the socket too (EIdTlsError, EIdSocketError).
    void StartTls(const std::string& hostName, const std::string& pinnedSha256);

    // Receives once (waiting at most timeoutMs) and appends to the input buffer; the byte count. A
    // failed receive releases the socket and raises EIdSocketError.
    int FillInputBuffer(bool raiseIfClosed, int timeoutMs);
    // The next line without its terminator (LF by default, a CR before it removed too). Returns the
    // empty string with LineTimedOut() set when the line is not complete within timeoutMs. A line
    // longer than MaxLineLength (its terminator included) closes the connection and raises
    // EIdReplyLineTooLong, so that a server sending without end cannot exhaust memory.
    std::string ReadLine(std::string_view terminator = {}, int timeoutMs = WaitForever);
    // The next line that is not blank, trimmed, within ReplyTimeout: running out closes the
    // connection (a late reply would answer the next command) and raises EIdSocketError 10060.
    std::string ReadNonEmptyLine();
    std::string TakeFromInputBuffer(int count);
    void DiscardFromInputBuffer(int count);

    // Reads a reply with its continuation lines, all within one ReplyTimeout, and returns its code,
    // raising EIdProtocolReplyError when allowed is not empty and does not hold it.
    std::int16_t ReadReply(const TIdReplyCodes& allowed);
    std::int16_t CheckReplyCode(std::int16_t code, const TIdReplyCodes& allowed);
    // WriteLine(text), then ReadReply; the text made of one NUL only reads a reply.
    std::int16_t SendCommand(std::string_view text, const TIdReplyCodes& allowed);
    std::int16_t SendCommand(std::string_view text, std::int16_t expected);
    [[noreturn]] void RaiseReplyError();

    const std::vector<std::string>& ReplyLines() const { return replyLines_; }
    std::string ReplyText() const { return replyLines_.empty() ? std::string() : replyLines_.back(); }
    std::int16_t ReplyCode() const { return replyCode_; }
    std::size_t InputBufferSize() const { return inputBuffer_.size(); }
    TIdSocketHandle& SocketHandle() { return socketHandle_; }
    const TIdSocketHandle& SocketHandle() const { return socketHandle_; }

    // How long one reply, and one write, may take as a whole; WaitForever for no limit.
    int ReplyTimeout() const { return replyTimeout_; }
    void SetReplyTimeout(int timeoutMs) { replyTimeout_ = timeoutMs; }
    std::size_t MaxLineLength() const { return maxLineLength_; }
    void SetMaxLineLength(std::size_t length) { maxLineLength_ = length; }

    // Part of the connection's interface that the program itself does not call.
    void WriteLines(const std::vector<std::string>& lines);
    // Sends the stream's bytes (from its start when fromStart) in chunks of SendBufferSize inside
    // a workWriting progress bracket; withLength first sends the count as 4 bytes, big-endian.
    void WriteFromStream(std::istream& stream, bool fromStart = true, bool withLength = false);
    bool LineTimedOut() const { return lineTimedOut_; }
    bool ClosedByPeer() const { return closedByPeer_; }
    int SendBufferSize() const { return sendBufferSize_; }
    void SetSendBufferSize(int size) { sendBufferSize_ = size; }
    int RecvBufferSize() const { return static_cast<int>(receiveChunk_.size()); }
    void SetRecvBufferSize(int size) { receiveChunk_.resize(static_cast<std::size_t>(size)); }

private:
    [[noreturn]] void RaiseLineTooLong();
    int SendBefore(const TIdDeadline& deadline, const char* buffer, int length);
    std::string ReadLineBefore(std::string_view terminator, const TIdDeadline& deadline);
    std::string ReadNonEmptyLineBefore(const TIdDeadline& deadline);

    TIdSocketHandle socketHandle_;
    std::string inputBuffer_;
    bool closedByPeer_ = false;
    std::vector<std::string> replyLines_;
    bool lineTimedOut_ = false;
    std::vector<char> receiveChunk_;
    std::int16_t replyCode_ = 0;
    int sendBufferSize_ = 32768;
    int replyTimeout_ = DefaultReplyTimeout;
    std::size_t maxLineLength_ = DefaultMaxLineLength;
};
