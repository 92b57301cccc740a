#include "mail/IdHeaderList.h"

#include "runtime/AsciiText.h"
#include "runtime/CodePage.h"

namespace {

constexpr size_t FoldWidth = 78;
// RFC 5322 2.1.1: no header line may be longer.
constexpr size_t MaxLineLength = 998;

bool IsContinuation(const std::string& line)
{
    return !line.empty() && IsBlankOrTab(line.front());
}

bool IsFoldAt(std::string_view text, size_t i)
{
    return i + 2 < text.size() && text[i] == '\r' && text[i + 1] == '\n' && text[i + 2] == '\t';
}

// Every control byte (CR and LF among them) that is not part of a CR LF TAB fold becomes a space:
// none may stand in a header line, and a CR or LF would end it.
std::string WithoutControls(std::string_view value)
{
    std::string out(value);
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsFoldAt(out, i)) {
            i += 2;
        } else if (IsControl(out[i]) && out[i] != '\t') {
            out[i] = ' ';
        }
    }
    return out;
}

// Where a line over MaxLineLength is cut: before its last blank that fits and follows some other
// byte (the blank then begins the next line), else at the limit itself.
size_t CutOfLongLine(std::string_view line)
{
    const size_t first = line.find_first_not_of(" \t");
    const size_t blank = line.find_last_of(" \t", MaxLineLength);
    return blank != std::string_view::npos && blank > first ? blank : MaxLineLength;
}

// Adds the line unless it is a blank continuation: an empty line would end the header.
void AddLine(std::vector<std::string>& lines, std::string_view line)
{
    line = TrimRight(line, IsSpaceOrBelow);
    if (lines.empty() || !line.empty()) lines.emplace_back(line);
}

// Adds the piece as lines of at most MaxLineLength; a cut that falls on no blank gets one, so
// that the rest is a continuation line.
void AddPiece(std::vector<std::string>& lines, std::string piece)
{
    while (piece.size() > MaxLineLength) {
        const size_t cut = CutOfLongLine(piece);
        AddLine(lines, std::string_view(piece).substr(0, cut));
        piece = (IsBlankOrTab(piece[cut]) ? "" : " ") + piece.substr(cut);
    }
    AddLine(lines, piece);
}

// The line wrapped at width FoldWidth with CR LF SP as the break string. Positions count from 1
// as in the description of the wrap: `at(p)` is the byte at position p.
std::string WrapHeaderLine(std::string_view line)
{
    const size_t length = line.size();
    auto at = [&](size_t p) { return line[p - 1]; };
    auto slice = [&](size_t from, size_t to) { return line.substr(from - 1, to - from + 1); };
    const CodePage codePage = SystemCodePage();
    size_t col = 1, pos = 1, lineStart = 1, breakPos = 0;
    bool quoted = false, existingBreak = false;
    std::string out;
    while (pos <= length) {
        char c = at(pos);
        if (IsLeadByte(static_cast<unsigned char>(c), codePage)) {
            ++pos;
            ++col;
        } else if (c == '\r' && !quoted) {
            existingBreak = pos + 2 <= length && at(pos + 1) == '\n' && IsBlankOrTab(at(pos + 2));
            if (existingBreak) {
                pos += 2;
                breakPos = pos;
            }
        } else if (IsBlankOrTab(c) && !quoted) {
            breakPos = pos;
        } else if (c == '"') {
            quoted = !quoted;
        }
        ++pos;
        ++col;
        if (quoted || (!existingBreak && (col <= FoldWidth || breakPos <= lineStart))) continue;
        col = pos - breakPos;
        out += slice(lineStart, breakPos);
        if (c != '"')
            while (pos <= length && (IsBlankOrTab(at(pos)) || at(pos) == '\r' || at(pos) == '\n')) ++pos;
        if (!existingBreak && pos < length) out += "\r\n ";
        ++breakPos;
        lineStart = breakPos;
        existingBreak = false;
    }
    if (lineStart <= length) out += line.substr(lineStart - 1);
    return out;
}

} // namespace

int TIdHeaderList::IndexOfName(std::string_view name) const
{
    for (int i = 0; i < Count(); ++i) {
        std::string_view line = lines_[i];
        size_t colon = line.find(':');
        std::string_view lineName =
            colon == std::string_view::npos ? std::string_view() : line.substr(0, colon);
        if (EqualsIgnoreCase(lineName, name)) return i;
    }
    return -1;
}

int TIdHeaderList::ContinuationEnd(int index) const
{
    int end = index + 1;
    while (end < Count() && IsContinuation(lines_[end])) ++end;
    return end;
}

std::string TIdHeaderList::GetValue(std::string_view name) const
{
    int index = IndexOfName(name);
    if (index < 0) return {};
    std::string_view first = lines_[index];
    std::string value(first.substr(name.size() + 1));
    for (int i = index + 1; i < ContinuationEnd(index); ++i) {
        if (!value.empty() && !IsBlankOrTab(value.back())) value += ' ';
        value += TrimLeft(lines_[i], IsSpaceOrBelow);
    }
    return std::string(TrimLeft(value, IsSpaceOrBelow));
}

void TIdHeaderList::SetValue(std::string_view name, std::string_view value)
{
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) lines_.erase(lines_.begin() + index, lines_.begin() + ContinuationEnd(index));
        return;
    }
    if (index < 0) {
        lines_.emplace_back();
        index = Count() - 1;
    }
    std::vector<std::string> folded = FoldHeaderLine(std::string(name) + ": " + WithoutControls(value));
    auto first = lines_.erase(lines_.begin() + index, lines_.begin() + ContinuationEnd(index));
    lines_.insert(first, folded.begin(), folded.end());
}

std::vector<std::string> TIdHeaderList::FoldHeaderLine(std::string_view line)
{
    std::string wrapped = WrapHeaderLine(line);
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t end = wrapped.find("\r\n", start);
        AddPiece(lines, wrapped.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return lines;
}
