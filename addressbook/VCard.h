#pragma once

#include <optional>
#include <string>
#include <string_view>

// The contact of one card as the program sees it, in the code page: FN as the full name (built from
// N when a vCard 2.1 card has no FN), the mobile TEL as the number ("tel:" URIs as their number).
// Characters the code page cannot hold read as "?" and are listed in `Unmappable` (UTF-8).
struct VCardContact
{
    std::string FullName;
    std::string MobileTelephoneNumber;
    std::string Unmappable;
};

VCardContact ReadVCard(std::string_view card);

// New values (code page) for a card; a field left empty stays as it is.
struct VCardChange
{
    std::optional<std::string> FullName;
    std::optional<std::string> MobileTelephoneNumber;
};

// The card with only its FN and N lines (for a new name) and its mobile TEL line (for a new
// number) rewritten, or added before END:VCARD when missing; every other byte stays. Rewritten lines
// keep their group and parameters, are UTF-8 (vCard 2.1: quoted-printable when needed) and end
// with the line break they had.
std::string PatchVCard(std::string_view card, const VCardChange& change);

// An empty vCard 4.0 card (FN and N without value) with the given line break.
std::string NewVCard(std::string_view eol);
