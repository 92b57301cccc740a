#include "addressbook/VCardFile.h"

#include "addressbook/AddressBookMessages.h"
#include "addressbook/VCardText.h"
#include "runtime/AsciiText.h"

#include <algorithm>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

VCardFileContent SplitVCardFile(std::string content, const std::string& path)
{
    if (size_t nul = content.find('\0'); nul != std::string::npos) {
        int line = 1 + static_cast<int>(std::count(content.begin(), content.begin() + nul, '\n'));
        throw EContactFileError(AddressBookMessages::BinaryData(path, line));
    }
    VCardFileContent file;
    std::string_view text = content;
    size_t pos = text.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0;
    file.Gaps[0] = std::string(text.substr(0, pos));
    size_t firstBreak = text.find_first_of("\r\n");
    if (firstBreak != std::string_view::npos)
        file.Eol = text.substr(firstBreak, 2) == "\r\n" ? "\r\n" : std::string(1, text[firstBreak]);
    int lineNumber = 0;
    size_t cardBegin = 0;
    int cardLine = 0;
    int depth = 0;
    while (pos < text.size()) {
        size_t next = 0;
        std::string_view line = NextLine(text, pos, next);
        ++lineNumber;
        if (depth == 0 && IsCardMarker(line, "BEGIN:VCARD")) {
            cardBegin = pos;
            cardLine = lineNumber;
        }
        if (IsCardMarker(line, "BEGIN:VCARD")) {
            ++depth;
        } else if (depth > 0 && IsCardMarker(line, "END:VCARD") && --depth == 0) {
            file.Cards.emplace_back(text.substr(cardBegin, next - cardBegin));
            file.Gaps.emplace_back();
        } else if (depth == 0) {
            if (!TrimRight(line).empty())
                throw EContactFileError(AddressBookMessages::NotAVCard(path, lineNumber));
            file.Gaps.back().append(text.substr(pos, next - pos));
        }
        pos = next;
    }
    if (depth > 0) throw EContactFileError(AddressBookMessages::Truncated(path, cardLine));
    return file;
}

std::string JoinVCardFile(const VCardFileContent& file)
{
    size_t size = 0;
    for (const auto& gap : file.Gaps) size += gap.size();
    for (const auto& card : file.Cards) size += card.size();
    std::string content;
    content.reserve(size);
    for (size_t i = 0; i < file.Cards.size(); ++i) content.append(file.Gaps[i]).append(file.Cards[i]);
    content.append(file.Gaps.back());
    return content;
}

void AppendCard(VCardFileContent& file, std::string card)
{
    bool lastGapHoldsText = !file.Gaps.back().empty() || file.Cards.empty();
    const std::string& tail = lastGapHoldsText ? file.Gaps.back() : file.Cards.back();
    if (!tail.empty() && tail.back() != '\n' && tail.back() != '\r' && tail != ByteOrderMark)
        file.Gaps.back() += file.Eol;
    file.Cards.push_back(std::move(card));
    file.Gaps.emplace_back();
}

void RemoveCard(VCardFileContent& file, size_t index)
{
    file.Gaps[index] += file.Gaps[index + 1];
    file.Gaps.erase(file.Gaps.begin() + static_cast<std::ptrdiff_t>(index) + 1);
    file.Cards.erase(file.Cards.begin() + static_cast<std::ptrdiff_t>(index));
}
