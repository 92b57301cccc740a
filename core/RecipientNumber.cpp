#include "core/RecipientNumber.h"

#include "core/CoreMessages.h"
#include "core/Stringparser.h"
#include "runtime/AsciiText.h"

#include <algorithm>

namespace {

constexpr const char* CountryCode = "49";
constexpr const char* NumberCharacters = "+0123456789";
constexpr const char* Digits = "0123456789";
constexpr std::string_view NumberSeparators = " /.-()";
// A plausible international number has at least this many digits.
constexpr std::size_t MinimumDigits = 7;

std::string InternationalPart(std::string_view number)
{
    if (IsOneOf(CopyRange(number, 1, 2), {"00"})) return DeleteRange(number, 1, 2);
    if (IsOneOf(CopyRange(number, 1, 1), {"0"})) return CountryCode + DeleteRange(number, 1, 1);
    if (IsOneOf(CopyRange(number, 1, 1), {"+"})) return DeleteRange(number, 1, 1);
    return {};
}

std::string WithoutSeparators(std::string_view number)
{
    std::string digits(number);
    std::erase_if(digits, [](char c) { return NumberSeparators.find(c) != std::string_view::npos; });
    return digits;
}

// The normalised number and its gateway address, or `rejection` when the number is no plausible
// international number. Digits only also keep "<", ">", "@" and line breaks out of the address.
RecipientAddress PlausibleGatewayAddress(std::string_view number, std::string_view smsServer,
                                         const char* rejection)
{
    std::string normalised = NormalizeNumber(number);
    if (normalised.size() < MinimumDigits || !ConsistsOf(normalised, Digits)) return {{}, {}, rejection};
    std::string address = normalised + "@" + std::string(smsServer);
    return {std::move(normalised), std::move(address), {}};
}

} // namespace

std::string NormalizeNumber(std::string_view number)
{
    return RemoveString(InternationalPart(number), " ");
}

bool IsNumberText(std::string_view text)
{
    return text.size() >= 2 && ConsistsOf(text, NumberCharacters) &&
           IsOneOf(CopyRange(text, 1, 1), {"+", "0"});
}

RecipientAddress AddressForTypedNumber(std::string_view typed, std::string_view smsServer)
{
    if (!IsNumberText(typed)) return {{}, {}, InvalidNumberStatus};
    return PlausibleGatewayAddress(typed, smsServer, InvalidNumberStatus);
}

RecipientAddress AddressForContactNumber(std::string_view mobile, std::string_view smsServer)
{
    return PlausibleGatewayAddress(WithoutSeparators(mobile), smsServer, ContactWithoutMobileStatus);
}

bool FitsMailCommand(std::string_view address)
{
    return std::none_of(address.begin(), address.end(),
                        [](char c) { return IsSpaceOrBelow(c) || IsControl(c) || c == '<' || c == '>'; });
}

std::string StoredMobileNumberForm(std::string_view number)
{
    return "+" + InsertAt(NormalizeNumber(number), " ", 3);
}
