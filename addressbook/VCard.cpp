#include "addressbook/VCard.h"

#include "addressbook/VCardLayout.h"
#include "runtime/AsciiText.h"
#include "runtime/CodePage.h"

#include <algorithm>
#include <vector>

namespace {

// The value of a property as UTF-8, quoted-printable and charset undone, escapes kept.
std::string DecodedValue(const VCardProperty& property)
{
    std::string bytes =
        IsQuotedPrintable(property.Params) ? DecodeQuotedPrintable(property.Value) : property.Value;
    return CharsetToUtf8(bytes, ParamValue(property.Params, "CHARSET"));
}

// N is family;given;additional;prefix;suffix; the name reads prefix given additional family suffix.
std::string FullNameFromN(const VCardProperty& n, VCardVersion version)
{
    std::vector<std::string> components = SplitComponents(DecodedValue(n));
    components.resize(std::max<size_t>(components.size(), 5));
    std::string name;
    for (int index : {3, 1, 2, 0, 4}) {
        std::string part = UnescapeText(components[index], version);
        if (part.empty()) continue;
        if (!name.empty()) name += ' ';
        name += part;
    }
    return name;
}

std::string NumberFromTel(const VCardProperty& tel, VCardVersion version)
{
    std::string value = UnescapeText(DecodedValue(tel), version);
    if (value.size() < 4 || !EqualsIgnoreCase(std::string_view(value).substr(0, 4), "tel:")) return value;
    value.erase(0, 4);
    return value.substr(0, value.find(';')); // "tel:+49-171-1234567;ext=12"
}

struct Edit
{
    size_t Begin;
    size_t End;
    std::string Text;
};

bool IsEncodingParam(const std::string& param)
{
    if (IsBareEncodingOrValue(param)) return true;
    std::string_view name = std::string_view(param).substr(0, param.find('='));
    return EqualsIgnoreCase(name, "ENCODING") || EqualsIgnoreCase(name, "CHARSET") ||
           EqualsIgnoreCase(name, "VALUE");
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One property line in the card's version: `value` is UTF-8 text, already escaped. vCard 2.1 has
// no folding that leaves a value as it was: it gets quoted-printable and CHARSET=UTF-8 when the
// value is not plain ASCII or the line is longer than 76 bytes.
std::string WriteProperty(const std::string& group, const std::string& name,
                          const std::vector<std::string>& params, const std::string& value,
                          VCardVersion version, std::string_view eol)
{
    constexpr size_t MaxPlainLine = 76;
    std::string head = group.empty() ? name : group + "." + name;
    for (const auto& param : params)
        if (!IsEncodingParam(param)) head += ";" + param;
    if (version == VCardVersion::V21 && (!IsAscii(value) || head.size() + 1 + value.size() > MaxPlainLine)) {
        head += ";CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:";
        return FoldQuotedPrintableLine(head + EncodeQuotedPrintable(value), head.size(), eol) +
               std::string(eol);
    }
    if (version == VCardVersion::V21) return head + ":" + value + std::string(eol);
    return FoldLine(head + ":" + value, eol) + std::string(eol);
}

// Rewrites `property` with `value`, or adds a line `name` before END:VCARD when there is none.
void ReplaceOrAdd(std::vector<Edit>& edits, const VCardLayout& layout,
                  const std::optional<VCardProperty>& property, const std::string& name,
                  const std::vector<std::string>& newParams, const std::string& value)
{
    if (property) {
        std::string_view eol = property->Eol.empty() ? std::string_view(layout.Eol) : property->Eol;
        edits.push_back(
            {property->Begin, property->End,
             WriteProperty(property->Group, property->Name, property->Params, value, layout.Version, eol)});
    } else {
        edits.push_back({layout.NewLinesBegin, layout.NewLinesBegin,
                         WriteProperty("", name, newParams, value, layout.Version, layout.Eol)});
    }
}

// N for a name: the last word is the family name, everything before it the given name.
std::string NValue(const std::string& fullNameUtf8, VCardVersion version)
{
    size_t blank = fullNameUtf8.rfind(' ');
    std::string family = blank == std::string::npos ? fullNameUtf8 : fullNameUtf8.substr(blank + 1);
    std::string given = blank == std::string::npos ? "" : fullNameUtf8.substr(0, blank);
    return EscapeText(family, version) + ";" + EscapeText(given, version) + ";;;";
}

std::vector<std::string> CellParams(VCardVersion version)
{
    switch (version) {
    case VCardVersion::V21:
        return {"CELL"};
    case VCardVersion::V30:
        return {"TYPE=CELL"};
    case VCardVersion::V40:
        break;
    }
    return {"TYPE=cell"};
}

} // namespace

VCardContact ReadVCard(std::string_view card)
{
    VCardLayout layout = ParseVCardLayout(card);
    std::string nameUtf8 = layout.Fn  ? UnescapeText(DecodedValue(*layout.Fn), layout.Version)
                           : layout.N ? FullNameFromN(*layout.N, layout.Version)
                                      : std::string();
    std::string numberUtf8 = layout.Tel ? NumberFromTel(*layout.Tel, layout.Version) : std::string();
    VCardContact contact;
    contact.FullName = CleanFullName(Utf8ToCodePage(nameUtf8, contact.Unmappable));
    contact.MobileTelephoneNumber = CleanTelephoneNumber(Utf8ToCodePage(numberUtf8, contact.Unmappable));
    return contact;
}

std::string PatchVCard(std::string_view card, const VCardChange& change)
{
    VCardLayout layout = ParseVCardLayout(card);
    std::vector<Edit> edits;
    if (change.FullName) {
        std::string name = CodePageToUtf8(CleanFullName(*change.FullName));
        ReplaceOrAdd(edits, layout, layout.Fn, "FN", {}, EscapeText(name, layout.Version));
        if (layout.N) ReplaceOrAdd(edits, layout, layout.N, "N", {}, NValue(name, layout.Version));
    }
    if (change.MobileTelephoneNumber && (layout.Tel || !change.MobileTelephoneNumber->empty())) {
        std::string number = CodePageToUtf8(CleanTelephoneNumber(*change.MobileTelephoneNumber));
        ReplaceOrAdd(edits, layout, layout.Tel, "TEL", CellParams(layout.Version),
                     EscapeText(number, layout.Version));
    }
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.Begin < b.Begin; });
    std::string patched;
    size_t pos = 0;
    for (const auto& edit : edits) {
        patched.append(card.substr(pos, edit.Begin - pos));
        patched += edit.Text;
        pos = edit.End;
    }
    patched.append(card.substr(pos));
    return patched;
}

std::string NewVCard(std::string_view eol)
{
    std::string card;
    for (const char* line : {"BEGIN:VCARD", "VERSION:4.0", "FN:", "N:;;;;", "END:VCARD"}) {
        card += line;
        card.append(eol);
    }
    return card;
}
