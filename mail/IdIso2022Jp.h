#pragma once

#include <string>
#include <string_view>

// Shift_JIS text (the code page of Japanese systems) as ISO-2022-JP (RFC 1468): ASCII as it is,
// JIS X 0208 characters between ESC $ B and ESC ( B. Half-width katakana become their full-width
// forms, a following (semi-)voiced mark merged in where the character has such a form. Bytes
// that map to nothing are dropped, ESC among them (it would start an escape sequence).
std::string ShiftJisToIso2022Jp(std::string_view text);
