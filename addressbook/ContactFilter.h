#pragma once

#include <string>
#include <string_view>

// The address book's Find filters for a value compared exactly (code-page text, put between the
// double quotes unchanged).
std::string FullNameFilter(std::string_view fullName);
std::string MobileTelephoneNumberFilter(std::string_view number);
