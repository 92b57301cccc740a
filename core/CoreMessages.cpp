#include "core/CoreMessages.h"

#include "runtime/CodePage.h"

std::string SmsLengthTooSmallMessage(std::string_view value)
{
    return "'" + CodePageToUtf8(value) + "' ist keine gültige SMS-Länge (mindestens 1)";
}
