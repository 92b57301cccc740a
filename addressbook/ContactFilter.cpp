#include "addressbook/ContactFilter.h"

std::string FullNameFilter(std::string_view fullName)
{
    return "[Fullname] = \"" + std::string(fullName) + "\"";
}

std::string MobileTelephoneNumberFilter(std::string_view number)
{
    return "[MobileTelephoneNumber] = \"" + std::string(number) + "\"";
}
