#include "addressbook/AddressBookMessages.h"

#include "addressbook/ContactFilter.h"
#include "runtime/CodePage.h"

namespace AddressBookMessages {

std::string Unreadable(const std::string& path, const std::string& reason)
{
    return "Das Adressbuch " + path + " kann nicht gelesen werden: " + reason + ".";
}

std::string TooLarge(const std::string& path)
{
    return "Das Adressbuch " + path + " ist zu groß (mehr als 256 MB) und wird nicht gelesen.";
}

std::string BinaryData(const std::string& path, int line)
{
    return "Das Adressbuch " + path + " enthält in Zeile " + std::to_string(line) +
           " Binärdaten und ist keine vCard-Datei.";
}

std::string NotAVCard(const std::string& path, int line)
{
    return "Das Adressbuch " + path + " ist keine vCard-Datei: Zeile " + std::to_string(line) +
           " steht außerhalb von BEGIN:VCARD und END:VCARD.";
}

std::string Truncated(const std::string& path, int line)
{
    return "Das Adressbuch " + path + " ist unvollständig: Die Karte ab Zeile " + std::to_string(line) +
           " endet nicht mit END:VCARD.";
}

std::string Unwritable(const std::string& path, const std::string& reason)
{
    return "Das Adressbuch " + path + " kann nicht gespeichert werden: " + reason + ".";
}

std::string ChangedElsewhere(std::string_view fullName)
{
    return "Der Kontakt \"" + CodePageToUtf8(fullName) +
           "\" wurde inzwischen von einem anderen Programm geändert oder gelöscht. Bitte öffnen Sie ihn "
           "erneut.";
}

std::string NotConnected()
{
    return "Keine Verbindung zum Adressbuch.";
}

std::string NoContactAttached()
{
    return "Kein Kontakt verbunden.";
}

std::string UnknownNamespace(std::string_view type)
{
    return "Der Namensraum \"" + CodePageToUtf8(type) + "\" wird nicht unterstützt, nur \"MAPI\".";
}

std::string UnsupportedFolder(int folderType)
{
    return "Der Standardordner " + std::to_string(folderType) +
           " wird nicht unterstützt, nur der Kontaktordner (10).";
}

std::string UnsupportedItemType(int itemType)
{
    return "Der Elementtyp " + std::to_string(itemType) + " wird nicht unterstützt, nur Kontakte (2).";
}

std::string IndexOutOfRange(int index, int count)
{
    return "Der Index " + std::to_string(index) + " liegt außerhalb der Kontaktliste (" +
           std::to_string(count) + " Einträge).";
}

std::string UnsupportedFilter(std::string_view filter)
{
    return "Die Suchbedingung " + CodePageToUtf8(filter) + " wird nicht unterstützt. Erlaubt sind " +
           FullNameFilter("...") + " und " + MobileTelephoneNumberFilter("...") + ".";
}

std::string ModalOnly()
{
    return "Ein Kontakt kann nur modal angezeigt werden.";
}

std::string ContactGoneStatus(std::string_view oldName)
{
    return "Kontakt " + CodePageToUtf8(oldName) + " wurde gelöscht/komplett verändert";
}

std::string ContactRenamedStatus(std::string_view oldName, std::string_view newName)
{
    return "Kontakt " + CodePageToUtf8(oldName) + " wurde in " + CodePageToUtf8(newName) + " geändert";
}

std::string ContactCreatedStatus(std::string_view name)
{
    return "Kontakt " + CodePageToUtf8(name) + " wurde erstellt";
}

} // namespace AddressBookMessages
