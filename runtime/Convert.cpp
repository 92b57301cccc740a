#include "runtime/Convert.h"

#include "runtime/AsciiText.h"
#include "runtime/Exception.h"
#include "runtime/RuntimeMessages.h"

#include <cstdint>

std::optional<int> TryStrToInt(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (StartsWithIgnoreCase(text.substr(pos), "0x")) {
        base = 16;
        pos += 2;
    }
    if (pos == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        int digit = HexDigitValue(text[pos]);
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * base + digit;
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int>(value);
}

int StrToInt(std::string_view text)
{
    if (auto value = TryStrToInt(text)) return *value;
    throw EConvertError(NotAnIntegerMessage(text));
}
