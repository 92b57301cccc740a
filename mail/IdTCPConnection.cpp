#include "mail/IdTCPConnection.h"

#include "mail/IdDeadline.h"
#include "mail/IdExceptions.h"
#include "mail/IdTlsErrors.h"
#include "runtime/AsciiText.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The code of a reply's last line: "+OK" and "-ERR" in any letter case, else its first three
// characters as a decimal number, 0 when they are not one.
std::int16_t ReplyCodeOf(const std::string& line)
{
    if (StartsWithIgnoreCase(line, "+OK")) return PositiveReply;
    if (StartsWithIgnoreCase(line, "-ERR")) return NegativeReply;
    const std::string head = line.substr(0, 3);
    char* end = nullptr;
    long code = std::strtol(head.c_str(), &end, 10);
    const bool isNumber = !head.empty() && !IsSpaceOrBelow(head[0]) && *end == '\0';
    return isNumber ? static_cast<std::int16_t>(code) : NegativeReply;
}

} // namespace

TIdTCPConnection::TIdTCPConnection() : receiveChunk_(32768) {}

TIdTCPConnection::~TIdTCPConnection() = default;

bool TIdTCPConnection::IsConnected()
{
    CheckForClose(false, false);
    return socketHandle_.IsConnected();
}

void TIdTCPConnection::CloseConnection()
{
    ReleaseSocket();
}

void TIdTCPConnection::ReleaseSocket()
{
    if (!socketHandle_.IsOpen()) return;
    ReportStatus(statusDisconnecting, socketHandle_.PeerAddress());
    socketHandle_.CloseSocket();
    closedByPeer_ = true;
    ReportStatus(statusDisconnected, socketHandle_.PeerAddress());
    if (OnDisconnected) OnDisconnected(*this);
}

void TIdTCPConnection::CheckForClose(bool raiseIfClosed, bool ignoreBuffered)
{
    if (!closedByPeer_ && socketHandle_.IsConnected()) return;
    ReleaseSocket();
    if (raiseIfClosed && (ignoreBuffered || inputBuffer_.empty())) throw EIdConnClosedGracefully();
}

void TIdTCPConnection::ResetForConnect()
{
    socketHandle_.Reset();
    inputBuffer_.clear();
    closedByPeer_ = false;
}

void TIdTCPConnection::WriteBytes(const char* buffer, int count)
{
    if (count <= 0 || buffer == nullptr) return;
    CheckForClose(true, true);
    const TIdDeadline deadline(replyTimeout_);
    for (int sent = 0; sent < count;) {
        const int n = SendBefore(deadline, buffer + sent, count - sent);
        closedByPeer_ = n == 0;
        CheckForClose(true, false);
        ReportProgress(workWriting, n);
        sent += n;
    }
}

// One send call with what is left of the write's time. A failed send, or one for which no time is
// left, leaves the peer with part of a line at best: the connection is released and
// EIdSocketError raised.
int TIdTCPConnection::SendBefore(const TIdDeadline& deadline, const char* buffer, int length)
{
    int error = WSAETIMEDOUT;
    if (!deadline.Passed()) {
        socketHandle_.SetSendTimeout(deadline.RemainingMs());
        const int n = socketHandle_.Send(buffer, length);
        if (n != -1) return n;
        error = SocketLayer().LastError();
    }
    ReleaseSocket();
    SocketLayer().ThrowSocketError(error);
}

void TIdTCPConnection::WriteText(std::string_view text)
{
    WriteBytes(text.data(), static_cast<int>(text.size()));
}

void TIdTCPConnection::WriteLine(std::string_view text)
{
    if (text.find_first_of("\r\n") != std::string_view::npos) throw EIdLineBreakInLine();
    WriteText(std::string(text) + "\r\n");
}

void TIdTCPConnection::WriteLines(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) WriteLine(line);
}

void TIdTCPConnection::WriteFromStream(std::istream& stream, bool fromStart, bool withLength)
{
    if (fromStart) stream.seekg(0, std::ios::beg);
    const auto position = stream.tellg();
    stream.seekg(0, std::ios::end);
    const int remaining = static_cast<int>(stream.tellg() - position);
    stream.seekg(position);
    if (withLength) {
        const auto size = static_cast<std::uint32_t>(remaining);
        const char length[4] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
        WriteBytes(length, 4);
    }
    BeginProgress(workWriting, remaining);
    try {
        std::vector<char> scratch(static_cast<std::size_t>(sendBufferSize_));
        for (int left = remaining; left > 0;) {
            stream.read(scratch.data(), std::min(sendBufferSize_, left));
            const int got = static_cast<int>(stream.gcount());
            if (got == 0) throw EIdNoDataToRead();
            WriteBytes(scratch.data(), got);
            left -= got;
        }
    } catch (...) {
        EndProgress(workWriting);
        throw;
    }
    EndProgress(workWriting);
}

void TIdTCPConnection::StartTls(const std::string& hostName, const std::string& pinnedSha256)
{
    if (!inputBuffer_.empty()) {
        ReleaseSocket();
        inputBuffer_.clear();
        throw EIdTlsError::PlainBytesAfterStartTls(hostName);
    }
    socketHandle_.StartTls(hostName, pinnedSha256, replyTimeout_);
}

int TIdTCPConnection::FillInputBuffer(bool raiseIfClosed, int timeoutMs)
{
    CheckForClose(raiseIfClosed, false);
    if (!IsConnected()) return 0;
    if (!socketHandle_.Readable(timeoutMs)) return 0;
    int n = socketHandle_.Receive(receiveChunk_.data(), RecvBufferSize());
    closedByPeer_ = n == 0;
    if (n == -1) { // a connection that failed is of no further use; the next connect starts afresh
        const int error = SocketLayer().LastError();
        n = 0;
        ReleaseSocket();
        if (error != WSAESHUTDOWN || inputBuffer_.empty()) SocketLayer().ThrowSocketError(error);
    }
    inputBuffer_.append(receiveChunk_.data(), static_cast<std::size_t>(n));
    CheckForClose(raiseIfClosed, false);
    return n;
}

std::string TIdTCPConnection::ReadLine(std::string_view terminator, int timeoutMs)
{
    return ReadLineBefore(terminator, TIdDeadline(timeoutMs));
}

std::string TIdTCPConnection::ReadLineBefore(std::string_view terminator, const TIdDeadline& deadline)
{
    const std::string_view search = terminator.empty() ? std::string_view("\n") : terminator;
    lineTimedOut_ = false;
    std::size_t found;
    while ((found = inputBuffer_.find(search)) == std::string::npos) {
        if (inputBuffer_.size() >= maxLineLength_) RaiseLineTooLong();
        CheckForClose(true, true);
        const int n = FillInputBuffer(true, deadline.RemainingMs());
        lineTimedOut_ = n == 0;
        if (n == 0) return {};
    }
    if (found + search.size() > maxLineLength_) RaiseLineTooLong();
    std::string line = TakeFromInputBuffer(static_cast<int>(found + search.size()));
    line.resize(found);
    if (terminator.empty() && !line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void TIdTCPConnection::RaiseLineTooLong()
{
    ReleaseSocket();
    inputBuffer_.clear();
    inputBuffer_.shrink_to_fit();
    throw EIdReplyLineTooLong(maxLineLength_);
}

std::string TIdTCPConnection::ReadNonEmptyLine()
{
    return ReadNonEmptyLineBefore(TIdDeadline(replyTimeout_));
}

std::string TIdTCPConnection::ReadNonEmptyLineBefore(const TIdDeadline& deadline)
{
    for (;;) {
        std::string line(Trim(ReadLineBefore({}, deadline), IsSpaceOrBelow));
        if (lineTimedOut_ && socketHandle_.IsOpen()) { // not an end of stream, which the next read raises
            ReleaseSocket();
            SocketLayer().ThrowSocketError(WSAETIMEDOUT);
        }
        if (!line.empty()) return line;
    }
}

std::string TIdTCPConnection::TakeFromInputBuffer(int count)
{
    if (count < 0 || static_cast<std::size_t>(count) > inputBuffer_.size()) throw EIdNotEnoughDataInBuffer();
    std::string taken = inputBuffer_.substr(0, static_cast<std::size_t>(count));
    DiscardFromInputBuffer(count);
    return taken;
}

void TIdTCPConnection::DiscardFromInputBuffer(int count)
{
    if (count < 0 || static_cast<std::size_t>(count) > inputBuffer_.size()) throw EIdNotEnoughDataInBuffer();
    inputBuffer_.erase(0, static_cast<std::size_t>(count));
    ReportProgress(workReading, count);
}

std::int16_t TIdTCPConnection::ReadReply(const TIdReplyCodes& allowed)
{
    replyLines_.clear();
    const TIdDeadline deadline(replyTimeout_); // for the whole reply, however slowly its bytes come
    std::string line = ReadNonEmptyLineBefore(deadline);
    replyLines_.push_back(line);
    if (line.size() > 3 && line[3] == '-') {
        const std::string end = line.substr(0, 3) + " ";
        do {
            line = ReadNonEmptyLineBefore(deadline);
            replyLines_.push_back(line);
        } while (line.size() >= 4 && !StartsWithIgnoreCase(line, end));
    }
    replyCode_ = ReplyCodeOf(line);
    return CheckReplyCode(replyCode_, allowed);
}

std::int16_t TIdTCPConnection::CheckReplyCode(std::int16_t code, const TIdReplyCodes& allowed)
{
    if (allowed.empty() || std::find(allowed.begin(), allowed.end(), code) != allowed.end()) return code;
    RaiseReplyError();
}

std::int16_t TIdTCPConnection::SendCommand(std::string_view text, const TIdReplyCodes& allowed)
{
    if (text != std::string_view("\0", 1)) WriteLine(text);
    return ReadReply(allowed);
}

std::int16_t TIdTCPConnection::SendCommand(std::string_view text, std::int16_t expected)
{
    return SendCommand(text, expected == AnyReply ? TIdReplyCodes{} : TIdReplyCodes{expected});
}

void TIdTCPConnection::RaiseReplyError()
{
    throw EIdProtocolReplyError(replyCode_, ReplyText());
}
