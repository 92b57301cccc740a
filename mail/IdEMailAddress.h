#pragma once

#include "mail/IdHeaderCoder.h"

#include <deque>
#include <string>

// One mailbox: the address and an optional display name.
class TIdEMailAddressItem
{
public:
    TIdEMailAddressItem() = default;
    TIdEMailAddressItem(std::string address, std::string name)
        : address_(std::move(address)), name_(std::move(name))
    {
    }

    const std::string& Address() const { return address_; }
    void SetAddress(std::string address) { address_ = std::move(address); }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    // The combined form: the address alone without a name, else "Name <address>".
    std::string Text() const;
    // The inverse of Text: "Name <address>" or a bare address; the empty text clears both.
    void SetText(std::string_view text);

private:
    std::string address_;
    std::string name_;
};

// An ordered list of mailboxes. References returned by Add stay valid while the list lives.
class TIdEMailAddressList
{
public:
    TIdEMailAddressItem& Add()
    {
        items_.emplace_back();
        return items_.back();
    }
    int Count() const { return static_cast<int>(items_.size()); }
    const TIdEMailAddressItem& operator[](int index) const { return items_[index]; }
    void Clear() { items_.clear(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::deque<TIdEMailAddressItem> items_;
};

// A mailbox for a header: the bare address without a name; otherwise the name (in double quotes
// when it is printable ASCII that needs no encoded words, else as encoded words of a phrase), a
// space and the address in angle brackets.
std::string FormatAddressItem(const TIdEMailAddressItem& item, const TMailCharset& charset);

// The mailboxes of a list, formatted one by one and joined by ", ".
std::string FormatAddressList(const TIdEMailAddressList& list, const TMailCharset& charset);
