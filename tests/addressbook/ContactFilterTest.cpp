#include "addressbook/ContactFilter.h"

#include "AddressBookTestSupport.h"

TEST(ContactFilterTest, ParsingGivesBackWhatWasBuilt)
{
    struct Case
    {
        const char* label;
        std::string filter;
        ContactField field;
        std::string value;
    };
    for (const auto& c : {
             Case{"name", FullNameFilter("Anna Schmidt"), ContactField::FullName, "Anna Schmidt"},
             Case{"empty name", FullNameFilter(""), ContactField::FullName, ""},
             Case{"quotes inside", FullNameFilter("Max \"Mad\""), ContactField::FullName, "Max \"Mad\""},
             Case{"number", MobileTelephoneNumberFilter("+49 1701"), ContactField::MobileTelephoneNumber,
                  "+49 1701"},
         }) {
        SCOPED_TRACE(c.label);
        const std::optional<ContactCondition> condition = ParseContactFilter(c.filter);
        ASSERT_TRUE(condition);
        EXPECT_EQ(condition->Field, c.field);
        EXPECT_EQ(condition->Value, c.value);
    }
}

TEST(ContactFilterTest, TheMessageOfAnUnsupportedFilterNamesBothForms)
{
    EXPECT_EQ(AddressBookMessages::UnsupportedFilter("[Email1Address] = \"a\""),
              "Die Suchbedingung [Email1Address] = \"a\" wird nicht unterstützt. Erlaubt sind "
              "[Fullname] = \"...\" und [MobileTelephoneNumber] = \"...\".");
}
