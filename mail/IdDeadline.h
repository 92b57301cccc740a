#pragma once

#include <chrono>
#include <optional>

// The end of a bounded wait that spans several platform calls (a reply of several receives, a
// write of several sends), made from a time-out in milliseconds; WaitForever never ends.
class TIdDeadline
{
public:
    explicit TIdDeadline(int timeoutMs);

    // The milliseconds left, 0 once the deadline has passed, WaitForever when it never does.
    int RemainingMs() const;
    bool Passed() const { return RemainingMs() == 0; }

private:
    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> end_;
};
