#include "addressbook/VCardLayout.h"

#include "runtime/AsciiText.h"

namespace {

struct PhysicalLine
{
    size_t Begin;
    size_t ContentEnd;
    size_t End;
};

std::vector<PhysicalLine> SplitPhysicalLines(std::string_view text)
{
    std::vector<PhysicalLine> lines;
    for (size_t begin = 0, end = 0; begin < text.size(); begin = end) {
        std::string_view content = NextLine(text, begin, end);
        lines.push_back({begin, begin + content.size(), end});
    }
    return lines;
}

std::string_view Content(std::string_view text, const PhysicalLine& line)
{
    return text.substr(line.Begin, line.ContentEnd - line.Begin);
}

// The END:VCARD and BEGIN:VCARD lines are those the file reader cuts cards at: physical lines,
// never joined to a folded or quoted-printable line.
bool IsMarkerLine(std::string_view card, const PhysicalLine& line)
{
    std::string_view content = Content(card, line);
    return IsCardMarker(content, "BEGIN:VCARD") || IsCardMarker(content, "END:VCARD");
}

VCardVersion FindVersion(std::string_view card, const std::vector<PhysicalLine>& lines)
{
    for (const auto& line : lines) {
        std::string_view content = Content(card, line);
        if (!StartsWithIgnoreCase(content, "VERSION:")) continue;
        std::string_view value = content.substr(8);
        if (value.starts_with("2.1")) return VCardVersion::V21;
        if (value.starts_with("4.0")) return VCardVersion::V40;
        return VCardVersion::V30;
    }
    return VCardVersion::V30;
}

// Splits "group.NAME;p1;p2:value" at the separators outside double quotes; false when there is
// no ":" or no name.
bool ParseContentLine(std::string_view line, VCardProperty& property)
{
    size_t nameEnd = line.find_first_of(";:");
    if (nameEnd == 0 || nameEnd == std::string_view::npos) return false;
    std::string_view fullName = line.substr(0, nameEnd);
    size_t dot = fullName.rfind('.');
    property.Group = dot == std::string_view::npos ? "" : std::string(fullName.substr(0, dot));
    property.Name = std::string(dot == std::string_view::npos ? fullName : fullName.substr(dot + 1));
    bool quoted = false;
    std::string param;
    for (size_t pos = nameEnd; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') quoted = !quoted;
        if (!quoted && (c == ';' || c == ':')) {
            if (pos != nameEnd) property.Params.push_back(param);
            param.clear();
            if (c == ':') {
                property.Value = std::string(line.substr(pos + 1));
                return true;
            }
            continue;
        }
        param += c;
    }
    return false;
}

// Joins the physical lines of the logical line starting at `index` (advanced past them): a line
// starting with a blank or tab continues the one before (vCard 2.1 keeps that blank, 3.0 and 4.0
// drop it), and a quoted-printable value ending in "=" continues on the next line. A marker line
// stands alone. `open` tells whether the line ends in a soft line break that nothing continued.
std::string Unfold(std::string_view card, const std::vector<PhysicalLine>& lines, size_t& index,
                   VCardVersion version, bool& open)
{
    open = false;
    std::string logical(Content(card, lines[index]));
    if (IsMarkerLine(card, lines[index++])) return logical;
    std::optional<bool> quotedPrintable; // read once: the parameters stand before any soft break
    for (;;) {
        while (index < lines.size() && lines[index].ContentEnd > lines[index].Begin &&
               IsBlankOrTab(card[lines[index].Begin])) {
            std::string_view continuation = Content(card, lines[index++]);
            logical.append(version == VCardVersion::V21 ? continuation : continuation.substr(1));
        }
        if (!logical.ends_with('=')) return logical;
        if (!quotedPrintable) {
            VCardProperty probe;
            quotedPrintable = ParseContentLine(logical, probe) && IsQuotedPrintable(probe.Params);
        }
        if (!*quotedPrintable) return logical;
        if (index == lines.size() || IsMarkerLine(card, lines[index])) {
            open = true;
            return logical;
        }
        logical.pop_back();
        logical.append(Content(card, lines[index++]));
    }
}

void TakeProperty(VCardLayout& layout, VCardProperty property)
{
    const std::string& name = property.Name;
    if (EqualsIgnoreCase(name, "FN") && !layout.Fn) {
        layout.Fn = std::move(property);
    } else if (EqualsIgnoreCase(name, "N") && !layout.N) {
        layout.N = std::move(property);
    } else if (EqualsIgnoreCase(name, "TEL")) {
        PhoneKind kind = KindOfPhone(property.Params);
        if (kind == PhoneKind::Other) return;
        if (!layout.Tel ||
            (kind == PhoneKind::Mobile && KindOfPhone(layout.Tel->Params) != PhoneKind::Mobile))
            layout.Tel = std::move(property);
    }
}

std::string Unquote(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return std::string(value.substr(1, value.size() - 2));
    return std::string(value);
}

} // namespace

std::string ParamValue(const std::vector<std::string>& params, std::string_view name)
{
    for (const auto& param : params) {
        size_t equals = param.find('=');
        if (equals != std::string::npos && EqualsIgnoreCase(std::string_view(param).substr(0, equals), name))
            return Unquote(std::string_view(param).substr(equals + 1));
    }
    return {};
}

bool IsQuotedPrintable(const std::vector<std::string>& params)
{
    for (const auto& param : params)
        if (EqualsIgnoreCase(param, "QUOTED-PRINTABLE")) return true;
    return EqualsIgnoreCase(ParamValue(params, "ENCODING"), "QUOTED-PRINTABLE");
}

PhoneKind KindOfPhone(const std::vector<std::string>& params)
{
    PhoneKind kind = PhoneKind::Unspecified;
    auto take = [&kind](std::string_view type) {
        for (const char* mobile : {"CELL", "MOBILE", "TEXT"})
            if (EqualsIgnoreCase(type, mobile)) {
                kind = PhoneKind::Mobile;
                return;
            }
        // VOICE is what every telephone is, PREF an order; neither tells a mobile from a landline.
        if (kind == PhoneKind::Unspecified && !type.empty() && !EqualsIgnoreCase(type, "VOICE") &&
            !EqualsIgnoreCase(type, "PREF"))
            kind = PhoneKind::Other;
    };
    for (const auto& param : params) {
        size_t equals = param.find('=');
        if (equals == std::string::npos) {
            if (!IsBareEncodingOrValue(param)) take(param);
            continue;
        }
        if (!EqualsIgnoreCase(std::string_view(param).substr(0, equals), "TYPE")) continue;
        std::string types = Unquote(std::string_view(param).substr(equals + 1));
        for (size_t begin = 0; begin <= types.size();) {
            size_t end = std::min(types.find(',', begin), types.size());
            take(std::string_view(types).substr(begin, end - begin));
            begin = end + 1;
        }
    }
    return kind;
}

bool IsBareEncodingOrValue(std::string_view param)
{
    for (const char* word :
         {"QUOTED-PRINTABLE", "BASE64", "8BIT", "7BIT", "INLINE", "URL", "CONTENT-ID", "CID"})
        if (EqualsIgnoreCase(param, word)) return true;
    return false;
}

VCardLayout ParseVCardLayout(std::string_view card)
{
    std::vector<PhysicalLine> lines = SplitPhysicalLines(card);
    VCardLayout layout;
    layout.Version = FindVersion(card, lines);
    if (!lines.empty() && lines[0].End > lines[0].ContentEnd)
        layout.Eol = std::string(card.substr(lines[0].ContentEnd, lines[0].End - lines[0].ContentEnd));
    layout.NewLinesBegin = card.size();
    int depth = 0;
    size_t openLineBegin = std::string_view::npos; // a line that would swallow the next one
    for (size_t index = 0; index < lines.size();) {
        const PhysicalLine& first = lines[index];
        bool marker = IsMarkerLine(card, first);
        bool open = false;
        std::string logical = Unfold(card, lines, index, layout.Version, open);
        const PhysicalLine& last = lines[index - 1];
        if (marker) {
            bool begin = IsCardMarker(logical, "BEGIN:VCARD");
            depth += begin ? 1 : -1;
            if (!begin && depth == 0) {
                layout.NewLinesBegin = openLineBegin != std::string_view::npos ? openLineBegin : first.Begin;
                break;
            }
        }
        openLineBegin = open ? first.Begin : std::string_view::npos;
        VCardProperty property;
        if (marker || depth != 1 || !ParseContentLine(logical, property)) continue;
        property.Begin = first.Begin;
        property.End = last.End;
        property.Eol = std::string(card.substr(last.ContentEnd, last.End - last.ContentEnd));
        TakeProperty(layout, std::move(property));
    }
    return layout;
}
