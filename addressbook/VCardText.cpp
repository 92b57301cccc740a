#include "addressbook/VCardText.h"

#include "runtime/AsciiText.h"
#include "runtime/CodePage.h"

#include <algorithm>

namespace {

std::string BestGuessToUtf8(std::string_view bytes)
{
    return IsValidUtf8(bytes) ? std::string(bytes) : CodePageToUtf8(bytes, CodePage::Windows1252);
}

} // namespace

bool IsCardMarker(std::string_view line, std::string_view marker)
{
    return EqualsIgnoreCase(TrimRight(line), marker);
}

std::string DecodeQuotedPrintable(std::string_view encoded)
{
    std::string out;
    out.reserve(encoded.size());
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '=' && i + 2 < encoded.size() && HexDigitValue(encoded[i + 1]) >= 0 &&
            HexDigitValue(encoded[i + 2]) >= 0) {
            out += static_cast<char>(HexDigitValue(encoded[i + 1]) * 16 + HexDigitValue(encoded[i + 2]));
            i += 2;
        } else {
            out += encoded[i];
        }
    }
    return out;
}

std::string EncodeQuotedPrintable(std::string_view bytes)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (c > ' ' && c <= '~' && c != '=' && c != ':') {
            out += static_cast<char>(c);
        } else {
            out += '=';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

std::string CharsetToUtf8(std::string_view bytes, std::string_view charset)
{
    if (charset.empty() || EqualsIgnoreCase(charset, "UTF-8") || EqualsIgnoreCase(charset, "UTF8"))
        return BestGuessToUtf8(bytes);
    std::optional<std::string> converted = NamedCharsetToUtf8(bytes, std::string(charset));
    return converted ? *converted : BestGuessToUtf8(bytes);
}

std::string UnescapeText(std::string_view text, VCardVersion version)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] != '\\' || next == '\0') {
            out += text[i];
            continue;
        }
        if (version == VCardVersion::V21) {
            // Only "\;" is an escape: a backslash before anything else is text, and the next
            // character is read on its own (so "\\;" is a backslash and an escaped ";").
            if (next != ';') {
                out += text[i];
                continue;
            }
            out += ';';
        } else if (next == 'n' || next == 'N') {
            out += '\n';
        } else if (next == '\\' || next == ',' || next == ';' || next == ':') {
            out += next;
        } else {
            out += std::string{'\\', next};
        }
        ++i;
    }
    return out;
}

std::string EscapeText(std::string_view text, VCardVersion version)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        bool escaped = version == VCardVersion::V21 ? c == ';' : (c == '\\' || c == ',' || c == ';');
        if (escaped) out += '\\';
        out += c;
    }
    return out;
}

std::vector<std::string> SplitComponents(std::string_view value)
{
    std::vector<std::string> components(1);
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == ';') {
            components.emplace_back();
            continue;
        }
        components.back() += value[i];
        if (value[i] == '\\' && i + 1 < value.size()) components.back() += value[++i];
    }
    return components;
}

std::string FoldLine(std::string_view line, std::string_view eol)
{
    constexpr size_t MaxOctets = 75;
    std::string out;
    size_t lineLength = 0;
    for (size_t pos = 0; pos < line.size();) {
        size_t length = std::max<size_t>(1, Utf8SequenceLength(line, pos));
        if (lineLength + length > MaxOctets) {
            out.append(eol);
            out += ' ';
            lineLength = 1;
        }
        out.append(line.substr(pos, length));
        lineLength += length;
        pos += length;
    }
    return out;
}

std::string FoldQuotedPrintableLine(std::string_view line, size_t valueStart, std::string_view eol)
{
    constexpr size_t MaxOctets = 76;
    std::string out;
    size_t lineLength = 0;
    for (size_t pos = 0; pos < line.size();) {
        size_t length = line[pos] == '=' ? std::min<size_t>(3, line.size() - pos) : 1;
        if (pos >= valueStart && lineLength + length > MaxOctets - 1) {
            out += '=';
            out.append(eol);
            lineLength = 0;
        }
        out.append(line.substr(pos, length));
        lineLength += length;
        pos += length;
    }
    return out;
}

std::string CleanFullName(std::string_view codePageText)
{
    std::string out;
    out.reserve(codePageText.size());
    for (size_t i = 0; i < codePageText.size(); ++i) {
        if (!IsControl(codePageText[i])) {
            out += codePageText[i];
        } else if (i == 0 || !IsControl(codePageText[i - 1])) {
            out += ' ';
        }
    }
    return out;
}

std::string CleanTelephoneNumber(std::string_view codePageText)
{
    std::string out;
    out.reserve(codePageText.size());
    for (char c : codePageText)
        if (!IsControl(c)) out += c;
    return out;
}
