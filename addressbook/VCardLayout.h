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
    std::optional<VCardProperty> Tel; // the first TEL marked as cell phone, else the first TEL
    size_t EndLineBegin = 0;          // the start of the card's own END:VCARD line
};

// Reads the layout of a card (its bytes from BEGIN:VCARD to the line break after END:VCARD).
// Never fails: lines that are no properties are left out.
VCardLayout ParseVCardLayout(std::string_view card);

// The value of the first parameter `name` (case-insensitive), without quotes; empty when missing.
std::string ParamValue(const std::vector<std::string>& params, std::string_view name);
bool IsQuotedPrintable(const std::vector<std::string>& params);
// TYPE=CELL in any of its spellings (TYPE=cell, TYPE="cell,voice", the bare CELL of vCard 2.1).
bool IsCellPhone(const std::vector<std::string>& params);
