#include "core/RecipientNumber.h"

#include "core/CoreMessages.h"
#include "core/Stringparser.h"

namespace {

constexpr const char* CountryCode = "49";
constexpr const char* NumberCharacters = "+0123456789";

std::string InternationalPart(std::string_view number)
{
    if (IsOneOf(CopyRange(number, 1, 2), {"00"})) return DeleteRange(number, 1, 2);
    if (IsOneOf(CopyRange(number, 1, 1), {"0"})) return CountryCode + DeleteRange(number, 1, 1);
    if (IsOneOf(CopyRange(number, 1, 1), {"+"})) return DeleteRange(number, 1, 1);
    return {};
}

} // namespace

std::string NormalizeNumber(std::string_view number)
{
    return RemoveString(InternationalPart(number), " ");
}

std::string GatewayAddress(std::string_view number, std::string_view smsServer)
{
    return NormalizeNumber(number) + "@" + std::string(smsServer);
}

bool IsNumberText(std::string_view text)
{
    return text.size() >= 2 && ConsistsOf(text, NumberCharacters) &&
           IsOneOf(CopyRange(text, 1, 1), {"+", "0"});
}

RecipientAddress AddressForTypedNumber(std::string_view typed, std::string_view smsServer)
{
    if (!IsNumberText(typed)) return {{}, InvalidNumberStatus};
    return {GatewayAddress(typed, smsServer), {}};
}

RecipientAddress AddressForContactNumber(std::string_view mobile, std::string_view smsServer)
{
    if (mobile.size() < 2) return {{}, ContactWithoutMobileStatus};
    return {GatewayAddress(mobile, smsServer), {}};
}

std::string MobileNumberFilter(std::string_view number)
{
    return "[MobileTelephoneNumber] = \"+" + InsertAt(NormalizeNumber(number), " ", 3) + "\"";
}
