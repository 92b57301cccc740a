#include "cli/MessageText.h"

#include "runtime/CodePage.h"

namespace {

std::string WithCrLfLineBreaks(std::string_view text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\r' || text[i] == '\n')
            result += "\r\n";
        else
            result += text[i];
    }
    return result;
}

// The UTF-8 characters of `utf8`, each once, in the order they first appear.
std::string DistinctCharacters(std::string_view utf8)
{
    std::string seen;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 1;
        while (i + length < utf8.size() && (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80)
            ++length;
        const std::string_view character = utf8.substr(i, length);
        if (seen.find(character) == std::string::npos) seen += character;
        i += length;
    }
    return seen;
}

} // namespace

std::string WithoutTrailingLineBreak(std::string text)
{
    if (text.ends_with('\n')) text.pop_back();
    if (text.ends_with('\r')) text.pop_back();
    return text;
}

std::string MessageInCodePage(std::string_view utf8, std::string& unmappable)
{
    std::string all;
    std::string text = Utf8ToCodePage(WithCrLfLineBreaks(utf8), all);
    unmappable = DistinctCharacters(all);
    return text;
}
