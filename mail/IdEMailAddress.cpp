#include "mail/IdEMailAddress.h"

#include "runtime/AsciiText.h"

#include <algorithm>

namespace {

bool IsPrintableAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 32 && c <= 126; });
}

std::string QuotedString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

} // namespace

std::string TIdEMailAddressItem::Text() const
{
    if (name_.empty()) return address_;
    return name_ + " <" + address_ + ">";
}

void TIdEMailAddressItem::SetText(std::string_view text)
{
    size_t open = text.rfind('<');
    if (open == std::string_view::npos || text.empty() || text.back() != '>') {
        address_ = text;
        name_.clear();
        return;
    }
    address_ = text.substr(open + 1, text.size() - open - 2);
    name_ = TrimRight(text.substr(0, open), [](char c) { return c == ' '; });
}

std::string FormatAddressItem(const TIdEMailAddressItem& item, const TMailCharset& charset)
{
    if (item.Name().empty()) return item.Address();
    const std::string& name = item.Name();
    std::string display = IsPrintableAscii(name) && !NeedsEncodedWords(name, TByteSet())
                              ? QuotedString(name)
                              : EncodeHeaderText(name, AddressSpecials(), charset, TEncodedWordPlace::Phrase);
    return display + " <" + item.Address() + ">";
}

std::string FormatAddressList(const TIdEMailAddressList& list, const TMailCharset& charset)
{
    std::string out;
    for (int i = 0; i < list.Count(); ++i) {
        if (i > 0) out += ", ";
        out += FormatAddressItem(list[i], charset);
    }
    return out;
}
