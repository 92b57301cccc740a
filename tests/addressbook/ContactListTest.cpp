#include "addressbook/ContactList.h"

#include "AddressBookTestSupport.h"
#include "FakeContactWindow.h"

namespace {

const std::string Contacts = ContactCard("bernd", "+49 1701") + ContactCard("Anna Schmidt", "+49 1702") +
                             ContactCard("Carla", "+49 1703") + ContactCard("Anna Schmidt", "+49 1704");

class ContactListTest : public ::testing::Test
{
protected:
    void SetUp() override { WriteBytes(path, Contacts); }

    TempFolder folder;
    std::string path = ContactsFilePath(folder.Path() + "/");
    ScriptedContactForm form;
    AddressBookLink link{path, form};
    FakeContactWindow window;
};

} // namespace

TEST_F(ContactListTest, FillListsTheNamesSortedAndSelectsTheEmptyEntry)
{
    link.Open();
    ASSERT_TRUE(link.ChooseByFullName("Carla"));
    FillContactList(link, window);
    EXPECT_EQ(window.entries,
              (std::vector<std::string>{"", "Anna Schmidt", "Anna Schmidt", "bernd", "Carla"}));
    EXPECT_EQ(window.selected, 0);
    EXPECT_EQ(window.text, "");
    EXPECT_FALSE(link.RecipientIsContact()); // no contact has an empty name
    EXPECT_TRUE(link.Connected());
    EXPECT_TRUE(link.ContactsFolder());
}

TEST_F(ContactListTest, InitialLookupFindsAContactWithAnEmptyName)
{
    WriteBytes(path, Contacts + ContactCard("", "+49 1709"));
    FillContactList(link, window);
    EXPECT_TRUE(link.RecipientIsContact());
    EXPECT_EQ(link.Contact().MobileTelephoneNumber(), "+49 1709");
}

TEST_F(ContactListTest, LookupChoosesTheFirstContactOfTheExactName)
{
    FillContactList(link, window);
    struct Case
    {
        const char* label;
        std::string text;
        bool use;
        bool found;
        std::string number;
    };
    for (const auto& c : {
             Case{"equal names: the first in the file", "Anna Schmidt", true, true, "+49 1702"},
             Case{"other case is another name", "anna schmidt", true, false, ""},
             Case{"a beginning is no name", "Anna", true, false, ""},
             Case{"address book off", "Carla", false, false, ""},
         }) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(link.ChooseByFullName("Carla"));
        window.useOutlookAdressbook = c.use;
        window.text = c.text;
        LookUpRecipient(link, window.useOutlookAdressbook, window.text);
        EXPECT_EQ(link.RecipientIsContact(), c.found);
        if (c.found) {
            EXPECT_EQ(link.Contact().MobileTelephoneNumber(), c.number);
        }
    }
}

TEST_F(ContactListTest, LookupSeesContactsAddedOnDisk)
{
    FillContactList(link, window);
    WriteBytes(path, Contacts + ContactCard("Dora", "+49 1705"));
    window.text = "Dora";
    LookUpRecipient(link, window.useOutlookAdressbook, window.text);
    EXPECT_TRUE(link.RecipientIsContact());
    EXPECT_EQ(window.entries.size(), 5u); // the list is read only when it is filled
}

TEST_F(ContactListTest, UnreadableFileLeavesOnlyTheEmptyEntryAndHoldsNothing)
{
    WriteBytes(path, "kein vCard\r\n");
    EXPECT_THROW_MESSAGE(FillContactList(link, window), EContactFileError,
                         AddressBookMessages::NotAVCard(path, 1));
    EXPECT_EQ(window.entries, std::vector<std::string>{""});
    EXPECT_FALSE(link.Connected());
    EXPECT_FALSE(link.ContactsFolder());

    window.text = "Carla";
    LookUpRecipient(link, window.useOutlookAdressbook, window.text);
    EXPECT_FALSE(link.RecipientIsContact());
    link.Release(); // nothing to log off
    EXPECT_FALSE(link.Connected());
}

TEST_F(ContactListTest, SwitchingOffEmptiesTheBoxAndReleasesSwitchingOnRereadsTheFile)
{
    FillContactList(link, window);
    window.text = "Carla";
    LookUpRecipient(link, window.useOutlookAdressbook, window.text);
    ASSERT_TRUE(link.RecipientIsContact());

    window.useOutlookAdressbook = false;
    AddressBookSwitched(link, window, true);
    EXPECT_FALSE(link.RecipientIsContact());
    EXPECT_TRUE(window.entries.empty());
    EXPECT_EQ(window.text, "");
    EXPECT_FALSE(link.Contact().Connected());
    EXPECT_FALSE(link.Connected() || link.ContactsFolder());

    WriteBytes(path, Contacts + ContactCard("Dora", "+49 1705"));
    AddressBookSwitched(link, window, false); // unchanged: nothing happens
    EXPECT_TRUE(window.entries.empty());

    window.useOutlookAdressbook = true;
    AddressBookSwitched(link, window, false);
    EXPECT_EQ(window.entries,
              (std::vector<std::string>{"", "Anna Schmidt", "Anna Schmidt", "bernd", "Carla", "Dora"}));
    EXPECT_EQ(window.selected, 0);
    EXPECT_TRUE(link.ContactsFolder().has_value());
}

TEST_F(ContactListTest, SwitchingOnAfterAFailedStartConnects)
{
    WriteBytes(path, "kaputt\r\n");
    EXPECT_THROW(FillContactList(link, window), EContactFileError);
    window.useOutlookAdressbook = false;
    AddressBookSwitched(link, window, true);
    EXPECT_TRUE(window.entries.empty());

    WriteBytes(path, Contacts);
    window.useOutlookAdressbook = true;
    AddressBookSwitched(link, window, false);
    EXPECT_EQ(window.entries.size(), 5u);
}
