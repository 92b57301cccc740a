#include "core/Stringparser.h"

#include <algorithm>

namespace {

// The 0-based half-open range [begin, end) of positions first to last that lie inside a text of
// `size` characters; empty when none does.
std::pair<size_t, size_t> ClampedRange(size_t size, int first, int last)
{
    long long begin = std::clamp<long long>(first - 1LL, 0, static_cast<long long>(size));
    long long end = std::clamp<long long>(last, 0, static_cast<long long>(size));
    return {static_cast<size_t>(begin), static_cast<size_t>(std::max(begin, end))};
}

} // namespace

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> items)
{
    return !text.empty() && std::find(items.begin(), items.end(), text) != items.end();
}

std::string CopyRange(std::string_view text, int first, int last)
{
    auto [begin, end] = ClampedRange(text.size(), first, last);
    return std::string(text.substr(begin, end - begin));
}

std::string DeleteRange(std::string_view text, int first, int last)
{
    auto [begin, end] = ClampedRange(text.size(), first, last);
    return std::string(text.substr(0, begin)).append(text.substr(end));
}

std::string RemoveString(std::string_view text, std::string_view sub)
{
    std::string result(text);
    if (sub.empty()) return result;
    for (size_t pos = result.find(sub); pos != std::string::npos; pos = result.find(sub, pos))
        result.erase(pos, sub.size());
    return result;
}

bool ConsistsOf(std::string_view text, std::string_view chars)
{
    return text.find_first_not_of(chars) == std::string_view::npos;
}

std::string ReplaceChar(std::string_view text, char oldChar, char newChar)
{
    std::string result(text);
    std::replace(result.begin(), result.end(), oldChar, newChar);
    return result;
}

std::string InsertAt(std::string_view text, std::string_view insert, int pos)
{
    std::string result(text);
    if (pos < 1 || static_cast<size_t>(pos) > text.size()) return result;
    return result.insert(static_cast<size_t>(pos - 1), insert);
}
