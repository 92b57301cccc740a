#include "mail/IdHeaderList.h"

#include "runtime/AsciiText.h"
#include "runtime/CodePage.h"

#include <algorithm>

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

// The units of a header line that the wrap never splits. Blanks, folds and quotes count only
// outside a quoted stretch; a double-byte character is one unit, its trail byte never read as a
// blank, a quote or a line end.
enum class UnitKind {
    Blank,    // a space or TAB: a line may end behind it
    Fold,     // CR LF and a space or TAB already in the line: the line ends behind it
    Quoted,   // a double quote through its partner
    Unclosed, // a double quote without a partner, through the end: no line ends behind it
    Other,    // any other byte, or a double-byte character
};

struct Unit
{
    size_t Begin;
    size_t End;
    UnitKind Kind;
};

size_t CharacterEnd(std::string_view line, size_t pos, CodePage codePage)
{
    return std::min(line.size(), pos + (IsLeadByte(static_cast<unsigned char>(line[pos]), codePage) ? 2 : 1));
}

Unit UnitAt(std::string_view line, size_t pos, CodePage codePage)
{
    const size_t end = CharacterEnd(line, pos, codePage);
    if (end - pos == 2) return {pos, end, UnitKind::Other};
    if (line.substr(pos, 2) == "\r\n" && pos + 2 < line.size() && IsBlankOrTab(line[pos + 2]))
        return {pos, pos + 3, UnitKind::Fold};
    if (IsBlankOrTab(line[pos])) return {pos, end, UnitKind::Blank};
    if (line[pos] != '"') return {pos, end, UnitKind::Other};
    for (size_t i = end; i < line.size(); i = CharacterEnd(line, i, codePage))
        if (line[i] == '"') return {pos, i + 1, UnitKind::Quoted};
    return {pos, line.size(), UnitKind::Unclosed};
}

std::vector<Unit> FoldableUnits(std::string_view line, CodePage codePage)
{
    std::vector<Unit> units;
    for (size_t pos = 0; pos < line.size(); pos = units.back().End)
        units.push_back(UnitAt(line, pos, codePage));
    return units;
}

// Blanks and line ends that follow the unit a line was broken in go to the next line uncounted,
// and no line ends behind them.
bool IsCarriedOver(std::string_view line, const Unit& unit)
{
    return line.substr(unit.Begin, unit.End - unit.Begin).find_first_not_of(" \t\r\n") ==
           std::string_view::npos;
}

// The line with CR LF SP put in behind the last blank of each line that reaches FoldWidth bytes
// (a continuation's own leading space uncounted); a blank that begins a line is no place for a
// break, and no break goes in when at most one byte would follow it. A fold already in the line
// ends its line there.
std::string WrapHeaderLine(std::string_view line, CodePage codePage)
{
    const std::vector<Unit> units = FoldableUnits(line, codePage);
    std::string out;
    size_t lineStart = 0;
    size_t width = 0;
    size_t lastBlankEnd = 0; // 0 while the line has no blank to break behind
    for (size_t i = 0; i < units.size(); ++i) {
        const Unit& unit = units[i];
        if (unit.Kind == UnitKind::Blank && unit.Begin > lineStart) lastBlankEnd = unit.End;
        width += unit.End - unit.Begin;
        const bool fold = unit.Kind == UnitKind::Fold;
        if (!fold && (unit.Kind == UnitKind::Unclosed || width < FoldWidth || lastBlankEnd == 0)) continue;
        const size_t cut = fold ? unit.End : lastBlankEnd;
        if (unit.Kind != UnitKind::Quoted)
            while (i + 1 < units.size() && IsCarriedOver(line, units[i + 1])) ++i;
        const size_t rest = i + 1 < units.size() ? units[i + 1].Begin : line.size();
        out.append(line.substr(lineStart, cut - lineStart));
        if (!fold && line.size() - rest > 1) out += "\r\n ";
        width = unit.End - cut;
        lineStart = cut;
        lastBlankEnd = 0;
    }
    return out.append(line.substr(lineStart));
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
    std::string wrapped = WrapHeaderLine(line, SystemCodePage());
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
