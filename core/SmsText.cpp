#include "core/SmsText.h"

#include <algorithm>

namespace {

// The bytes of the character at `position`: two where a lead byte starts a complete pair.
std::size_t CharacterSize(std::string_view text, std::size_t position, CodePage codePage)
{
    const bool pair =
        position + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[position]), codePage);
    return pair ? 2 : 1;
}

// The end of the part that starts at `start`: as many whole characters as fit in `maxBytes`, and at
// least one.
std::size_t PartEnd(std::string_view text, std::size_t start, std::size_t maxBytes, CodePage codePage)
{
    std::size_t end = start + CharacterSize(text, start, codePage);
    while (end < text.size()) {
        const std::size_t next = end + CharacterSize(text, end, codePage);
        if (next - start > maxBytes) break;
        end = next;
    }
    return end;
}

} // namespace

SmsMetrics MeasureSms(int smsLength, int maxSmsLength)
{
    int part = std::max(1, maxSmsLength);
    int count = smsLength <= 0 ? 1 : (smsLength - 1) / part + 1;
    return {smsLength, count, part - std::max(0, smsLength) % part};
}

std::vector<SmsPartRange> SmsParts(std::string_view text, int maxSmsLength, CodePage codePage)
{
    const auto maxBytes = static_cast<std::size_t>(std::max(1, maxSmsLength));
    if (text.empty()) return {{0, 0}};
    std::vector<SmsPartRange> parts;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = PartEnd(text, start, maxBytes, codePage);
        parts.push_back({static_cast<int>(start), static_cast<int>(end - start)});
        start = end;
    }
    return parts;
}
