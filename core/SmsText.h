#pragma once

#include "runtime/CodePage.h"

#include <string_view>
#include <vector>

// The counters shown while the user types: how many SMS parts the text makes and how many
// characters are left in the current part. They need only the text's length (a line break counts
// as two characters, CR LF), never a copy of the text.
struct SmsMetrics
{
    int SMSLength = 0;
    int SMSCount = 0;
    int LastingChars = 0;
};

// The metrics of a text of `smsLength` characters with parts of `maxSmsLength` characters. An empty
// text is one (empty) part; a length of whole parts leaves a full part, not 0. A `maxSmsLength`
// below 1 (refused when settings are read) is taken as 1. On the double-byte code pages a text
// whose cuts fall inside characters makes more parts than these counters show (see SmsParts).
SmsMetrics MeasureSms(int smsLength, int maxSmsLength);

// The characters of one SMS part within the text, Start counted from 0.
struct SmsPartRange
{
    int Start;
    int Length;

    bool operator==(const SmsPartRange&) const = default;
};

// The parts of a code-page text, in text order: `maxSmsLength` bytes each (1 for a smaller value)
// and fewer for the last part, cut only between characters, so a double-byte character that would
// straddle a cut starts the next part. A double-byte character alone is never cut, even when it is
// longer than a part. The parts joined in order give the whole text; an empty text is one empty part.
std::vector<SmsPartRange> SmsParts(std::string_view text, int maxSmsLength,
                                   CodePage codePage = SystemCodePage());
