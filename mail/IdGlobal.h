#pragma once

#include "runtime/Clock.h"

#include <string>

// The local zone's offset from UTC in minutes, positive east of Greenwich (60 in German winter
// time), as the clock reports it now. Raises EIdFailedToRetreiveTimeZoneInfo when the clock
// cannot read the zone.
int LocalOffsetFromUtc(const Clock& clock);

// An offset as a sign and four digits ("+0100", "-0500", "+0530"); "GMT" for 0 when `useGmt`.
std::string UtcOffsetText(int offsetMinutes, bool useGmt);

// The RFC 5322 date of a local date and time, "Mon, 7 Dec 2026 05:13:07 +0100", with the offset
// in force now. The time separator is always ":", whatever the locale uses.
std::string DateTimeToMailDate(const DateTime& value, const Clock& clock);
