#pragma once

#include "addressbook/VCardText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One property of a card as it stands in the file: where its physical lines are, and its parts
// after unfolding (value still encoded and escaped).
struct VCardProperty
{
    size_t Begin = 0; // first byte of its first physical line in the card
    size_t End = 0;   // just behind the line break of its last physical line
    std::string Eol;  // that line break; empty when the card ends without one
    std::string Group;
    std::string Name;
    std::vector<std::string> Params; // "NAME=value" or, in vCard 2.1, a bare "VALUE"
    std::string Value;
};

// What the address book needs of one card: its version and line break, its first FN and N, the
// TEL that serves as the mobile number, and where new lines go. Properties of cards nested in it
// (vCard 2.1 AGENT) are not its own.
struct VCardLayout
{
    VCardVersion Version = VCardVersion::V30;
    std::string Eol = "\r\n";
    std::optional<VCardProperty> Fn;
    std::optional<VCardProperty> N;
    // The mobile number: the first TEL typed as cell, mobile or text, else the first TEL without a
    // type; never one typed home, work, fax, pager or the like.
    std::optional<VCardProperty> Tel;
    // Where added lines go: the start of the card's own END:VCARD line, or of the quoted-printable
    // line before it when that line ends in a soft line break (an added line would continue it).
    size_t NewLinesBegin = 0;
};

// Reads the layout of a card (its bytes from BEGIN:VCARD to the line break after END:VCARD).
// Never fails: lines that are no properties are left out.
VCardLayout ParseVCardLayout(std::string_view card);

// The value of the first parameter `name` (case-insensitive), without quotes; empty when missing.
std::string ParamValue(const std::vector<std::string>& params, std::string_view name);
bool IsQuotedPrintable(const std::vector<std::string>& params);
// What the types of a TEL say, in any of their spellings (TYPE=cell, TYPE="cell,voice", repeated
// TYPE parameters, the bare CELL of vCard 2.1): Mobile for cell, mobile or text; Unspecified when
// there is no type but voice or pref; Other for the rest (home, work, fax, pager, ...).
enum class PhoneKind { Mobile, Unspecified, Other };
PhoneKind KindOfPhone(const std::vector<std::string>& params);

// The bare vCard 2.1 parameters that name an encoding or a value location, not a type.
bool IsBareEncodingOrValue(std::string_view param);
