#pragma once

#include <string>
#include <string_view>

// The international digits of a number, without "+" or "00": "00..." loses the "00", "0..." becomes
// "49..." (the country code is fixed), "+..." loses the "+"; any other text gives empty text. Every
// blank is removed from the result; hyphens, slashes and brackets stay.
std::string NormalizeNumber(std::string_view number);

// The outcome of checking a recipient number: the normalised number and the gateway address
// (the number, "@", the gateway domain), or the status text that tells the user why nothing is sent.
struct RecipientAddress
{
    std::string Number;
    std::string Address;
    std::string Rejection;

    bool Accepted() const { return Rejection.empty(); }
};

// True for a number as a user types it: at least 2 characters, only "+0123456789", beginning with
// "+" or "0". Any other text (blanks, hyphens and slashes included) is no number.
bool IsNumberText(std::string_view text);

// A number typed into the recipient box: IsNumberText, and its normalised form a plausible
// international number (digits only, at least 7 of them); otherwise rejected with
// InvalidNumberStatus.
RecipientAddress AddressForTypedNumber(std::string_view typed, std::string_view smsServer);

// A contact's mobile number as it is stored, with the usual separators (blanks, "/", ".", "-" and
// brackets): they are removed before the number is normalised, and the result must be a plausible
// international number as above; otherwise rejected with ContactWithoutMobileStatus.
RecipientAddress AddressForContactNumber(std::string_view mobile, std::string_view smsServer);

// True for a mail address or domain that "Mail from:<...>" and "RCPT to:<...>" carry as they stand:
// no blank (which would add ESMTP parameters), no control character, no "<" or ">".
bool FitsMailCommand(std::string_view address);

// A number in the form the address book stores mobile numbers, "+49 1711234567": "+", the
// normalised number and a blank behind its two-digit country code.
std::string StoredMobileNumberForm(std::string_view number);
