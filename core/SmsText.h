#pragma once

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
// below 1 (refused when settings are read) is taken as 1.
SmsMetrics MeasureSms(int smsLength, int maxSmsLength);

// The characters of one SMS part within the text, Start counted from 0.
struct SmsPartRange
{
    int Start;
    int Length;

    bool operator==(const SmsPartRange&) const = default;
};

// Part k (0 to SMSCount - 1): `maxSmsLength` characters from k * maxSmsLength, fewer for the last
// part; the parts joined in order give the whole text. A k beyond the text gives an empty range at
// its end.
SmsPartRange SmsPart(int k, int smsLength, int maxSmsLength);
