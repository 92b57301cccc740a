#pragma once

#include "runtime/Exception.h"

#include <string>
#include <string_view>

// A failed address-book operation, as a failed automation call would report it: an unsupported
// filter, namespace, folder or item type, an index out of range, a detached wrapper.
class EAddressBookError : public Exception
{
public:
    using Exception::Exception;
};

// The contact file cannot be read, parsed or written. Nothing in the file has been changed.
class EContactFileError : public EAddressBookError
{
public:
    using EAddressBookError::EAddressBookError;
};

// Every German message of the address book. Paths are quoted as they are; contact texts and
// filters are code-page text and are converted to UTF-8 here.
namespace AddressBookMessages {
// `reason`: the German text of the file error (as text files report it).
std::string Unreadable(const std::string& path, const std::string& reason);
std::string TooLarge(const std::string& path);
std::string BinaryData(const std::string& path, int line);
std::string NotAVCard(const std::string& path, int line);
std::string Truncated(const std::string& path, int line);
std::string Unwritable(const std::string& path, const std::string& reason);
std::string ChangedElsewhere(std::string_view fullName);
std::string NotConnected();
std::string NoContactAttached();
std::string UnknownNamespace(std::string_view type);
std::string UnsupportedFolder(int folderType);
std::string UnsupportedItemType(int itemType);
std::string IndexOutOfRange(int index, int count);
std::string UnsupportedFilter(std::string_view filter);
std::string ModalOnly();

// Status texts of the contact button.
inline constexpr const char* NoAddressBookStatus = "Sie haben kein Adressbuch ausgewählt.";
std::string ContactGoneStatus(std::string_view oldName);
std::string ContactRenamedStatus(std::string_view oldName, std::string_view newName);
std::string ContactCreatedStatus(std::string_view name);
} // namespace AddressBookMessages
