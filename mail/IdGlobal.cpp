#include "mail/IdGlobal.h"

#include "mail/IdExceptions.h"

#include <cstdio>
#include <cstdlib>

int LocalOffsetFromUtc(const Clock& clock)
{
    std::optional<int> offset = clock.UtcOffsetMinutes();
    if (!offset) throw EIdFailedToRetreiveTimeZoneInfo();
    return *offset;
}

std::string UtcOffsetText(int offsetMinutes, bool useGmt)
{
    if (useGmt && offsetMinutes == 0) return "GMT";
    int magnitude = std::abs(offsetMinutes);
    char text[16];
    std::snprintf(text, sizeof text, "%c%02d%02d", offsetMinutes >= 0 ? '+' : '-', magnitude / 60,
                  magnitude % 60);
    return text;
}

std::string DateTimeToMailDate(const DateTime& value, const Clock& clock)
{
    static const char* const weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::string offset = UtcOffsetText(LocalOffsetFromUtc(clock), false);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d %s %d %02d:%02d:%02d %s", weekdays[DayOfWeek(value)], value.Day,
                  months[value.Month - 1], value.Year, value.Hour, value.Minute, value.Second,
                  offset.c_str());
    return text;
}
