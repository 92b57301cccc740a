#include "runtime/Clock.h"

#include <cstdio>
#include <ctime>

int DayOfWeek(const DateTime& value)
{
    // Sakamoto's method.
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int year = value.Year - (value.Month < 3 ? 1 : 0);
    int day = year + year / 4 - year / 100 + year / 400 + offsets[(value.Month - 1) % 12] + value.Day;
    return day % 7;
}

std::string DateTimeText(const DateTime& value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", value.Day, value.Month, value.Year,
                  value.Hour, value.Minute, value.Second);
    return text;
}

namespace {

bool LocalNow(std::tm& local)
{
    std::time_t now = std::time(nullptr);
    return localtime_r(&now, &local) != nullptr;
}

} // namespace

DateTime SystemClock::Now() const
{
    std::tm local{};
    if (!LocalNow(local)) return {};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::optional<int> SystemClock::UtcOffsetMinutes() const
{
    std::tm local{};
    if (!LocalNow(local)) return std::nullopt;
    return static_cast<int>(local.tm_gmtoff / 60);
}
