#pragma once

#include <optional>
#include <string>
#include <string_view>

// The address book's Find filters, `[Fullname] = "value"` and `[MobileTelephoneNumber] = "value"`:
// the only place that knows their syntax. The value is code-page text compared exactly, put between
// the double quotes unchanged.

enum class ContactField { FullName, MobileTelephoneNumber };

std::string FullNameFilter(std::string_view fullName);
std::string MobileTelephoneNumberFilter(std::string_view number);

// What a filter compares: the field and the text between the first and the last double quote.
struct ContactCondition
{
    ContactField Field;
    std::string_view Value; // points into the filter
};

// The condition of `filter` (the property name in any case); nothing when it has neither form.
std::optional<ContactCondition> ParseContactFilter(std::string_view filter);
