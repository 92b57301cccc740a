#include "core/SmsText.h"

#include <algorithm>
#include <cstdint>

SmsMetrics MeasureSms(int smsLength, int maxSmsLength)
{
    int part = std::max(1, maxSmsLength);
    int count = smsLength <= 0 ? 1 : (smsLength - 1) / part + 1;
    return {smsLength, count, part - std::max(0, smsLength) % part};
}

SmsPartRange SmsPart(int k, int smsLength, int maxSmsLength)
{
    int64_t part = std::max(1, maxSmsLength);
    int64_t length = std::max(0, smsLength);
    int64_t start = std::clamp<int64_t>(int64_t{std::max(0, k)} * part, 0, length);
    return {static_cast<int>(start), static_cast<int>(std::min(part, length - start))};
}
