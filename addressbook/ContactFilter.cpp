#include "addressbook/ContactFilter.h"

#include "runtime/AsciiText.h"

namespace {

struct FilterForm
{
    std::string_view Property;
    ContactField Field;
};

// In the order of ContactField.
constexpr FilterForm FilterForms[] = {
    {"Fullname", ContactField::FullName},
    {"MobileTelephoneNumber", ContactField::MobileTelephoneNumber},
};

// The filter up to its value: `[Property] = "`.
std::string Opening(std::string_view property)
{
    return "[" + std::string(property) + "] = \"";
}

std::string Filter(ContactField field, std::string_view value)
{
    return Opening(FilterForms[static_cast<size_t>(field)].Property) + std::string(value) + "\"";
}

} // namespace

std::string FullNameFilter(std::string_view fullName)
{
    return Filter(ContactField::FullName, fullName);
}

std::string MobileTelephoneNumberFilter(std::string_view number)
{
    return Filter(ContactField::MobileTelephoneNumber, number);
}

std::optional<ContactCondition> ParseContactFilter(std::string_view filter)
{
    for (const auto& form : FilterForms) {
        const std::string opening = Opening(form.Property);
        if (filter.size() <= opening.size() || filter.back() != '"' || !StartsWithIgnoreCase(filter, opening))
            continue;
        return ContactCondition{form.Field,
                                filter.substr(opening.size(), filter.size() - opening.size() - 1)};
    }
    return std::nullopt;
}
