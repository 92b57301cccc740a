#pragma once

#include <optional>
#include <string>

// A local calendar date and time of day, to the second.
struct DateTime
{
    int Year = 2002;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;

    bool operator==(const DateTime&) const = default;
};

// 0 for Sunday to 6 for Saturday (proleptic Gregorian calendar).
int DayOfWeek(const DateTime& value);

// The date-time text "dd.mm.yyyy hh:nn:ss" (19 characters; the month stands in characters 4 and 5).
std::string DateTimeText(const DateTime& value);

// The source of "now" and of the local zone's offset from UTC. The window owns one and hands it
// to whatever needs the time, so tests can fix both.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
    // Minutes that local time is ahead of UTC at this moment (60 in German winter time, -300 in
    // New York's); nullopt when the zone information cannot be read.
    virtual std::optional<int> UtcOffsetMinutes() const = 0;
};

// The system's local time and zone.
class SystemClock final : public Clock
{
public:
    DateTime Now() const override;
    std::optional<int> UtcOffsetMinutes() const override;
};

// A clock that stands still at a set time and offset, for tests and benchmarks.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(DateTime now = {}, std::optional<int> utcOffsetMinutes = 60)
        : now_(now), offset_(utcOffsetMinutes)
    {
    }
    void Set(DateTime now) { now_ = now; }
    void SetUtcOffsetMinutes(std::optional<int> offset) { offset_ = offset; }
    DateTime Now() const override { return now_; }
    std::optional<int> UtcOffsetMinutes() const override { return offset_; }

private:
    DateTime now_;
    std::optional<int> offset_;
};
