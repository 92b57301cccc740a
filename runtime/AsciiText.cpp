#include "runtime/AsciiText.h"

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiUpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool IsBlankOrTab(char c)
{
    return c == ' ' || c == '\t';
}

bool IsSpaceOrBelow(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

std::string_view TrimLeft(std::string_view text, bool (*trimmed)(char))
{
    while (!text.empty() && trimmed(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text, bool (*trimmed)(char))
{
    while (!text.empty() && trimmed(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view Trim(std::string_view text, bool (*trimmed)(char))
{
    return TrimRight(TrimLeft(text, trimmed), trimmed);
}

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsAsciiLetterOrDigit(char c)
{
    char lower = AsciiLower(c);
    return IsAsciiDigit(c) || (lower >= 'a' && lower <= 'z');
}

int HexDigitValue(char c)
{
    if (IsAsciiDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string_view NextLine(std::string_view text, size_t begin, size_t& next)
{
    size_t contentEnd = text.find_first_of("\r\n", begin);
    if (contentEnd == std::string_view::npos) {
        next = text.size();
        return text.substr(begin);
    }
    next = contentEnd + 1;
    if (text[contentEnd] == '\r' && next < text.size() && text[next] == '\n') ++next;
    return text.substr(begin, contentEnd - begin);
}

bool IsUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t Utf8SequenceLength(std::string_view s, size_t pos)
{
    unsigned char b = s[pos];
    size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (length == 0 || pos + length > s.size()) return 0;
    for (size_t i = 1; i < length; ++i)
        if (!IsUtf8Continuation(s[pos + i])) return 0;
    return length;
}

bool IsValidUtf8(std::string_view s)
{
    for (size_t pos = 0; pos < s.size();) {
        size_t length = Utf8SequenceLength(s, pos);
        if (length == 0) return false;
        pos += length;
    }
    return true;
}

char32_t NextUtf8(std::string_view s, size_t& pos)
{
    size_t length = Utf8SequenceLength(s, pos);
    if (length == 0) {
        ++pos;
        return 0xFFFD;
    }
    unsigned char lead = s[pos];
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) c = (c << 6) | (static_cast<unsigned char>(s[pos + i]) & 0x3F);
    pos += length;
    return c;
}
