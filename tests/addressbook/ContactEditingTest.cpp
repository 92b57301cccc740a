#include "addressbook/ContactEditing.h"

#include "addressbook/ContactList.h"

#include "AddressBookTestSupport.h"
#include "FakeContactWindow.h"

#include <functional>

namespace {

namespace M = AddressBookMessages;
using Entries = std::vector<std::string>;

const std::string Contacts =
    ContactCard("Anna Schmidt", "+49 1701234567") + ContactCard("Bernd", "0171 5550000");

void SaveAs(TContactItem& contact, const std::string& name, const std::string& number)
{
    contact.SetFullName(name);
    contact.SetMobileTelephoneNumber(number);
    contact.Save();
}

class ContactEditingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteBytes(path, Contacts);
        FillContactList(link, window);
    }

    // The user picks `name` from the list.
    void Choose(const std::string& name)
    {
        window.SetRecipientText(name);
        LookUpRecipient(link, window.useOutlookAdressbook, window.text);
    }

    // The user types `text` that names no entry.
    void Type(const std::string& text)
    {
        window.text = text;
        window.selected = -1;
        LookUpRecipient(link, window.useOutlookAdressbook, window.text);
    }

    // The number and the name the form was shown with, one pair per showing.
    std::vector<std::pair<std::string, std::string>> shownWith;
    std::function<void(TContactItem&)> edit = [](TContactItem&) {};

    TempFolder folder;
    std::string path = ContactsFilePath(folder.Path() + "/");
    ScriptedContactForm form;
    AddressBookLink link{path, form};
    FakeContactWindow window;

    ContactEditingTest()
    {
        form.onShow = [this](TContactItem& contact) {
            shownWith.emplace_back(contact.MobileTelephoneNumber(), contact.FullName());
            edit(contact);
        };
    }
};

} // namespace

TEST_F(ContactEditingTest, WithoutAddressBookOnlyReports)
{
    window.useOutlookAdressbook = false;
    Type("Anna Schmidt");
    OpenOrCreateContact(link, window);
    EXPECT_EQ(window.status, M::NoAddressBookStatus);
    EXPECT_EQ(form.shown, 0);
}

TEST_F(ContactEditingTest, OpenedContactOutcomeFollowsWhatTheSearchesFind)
{
    struct Case
    {
        const char* label;
        std::function<void(TContactItem&)> edit;
        Entries entries;
        std::string text;
        std::string status;
    };
    const Entries unchanged{"", "Anna Schmidt", "Bernd"};
    for (const auto& c : {
             Case{"nothing changed", [](TContactItem&) {}, unchanged, "Anna Schmidt", ""},
             Case{"saved without a change", [](TContactItem& k) { k.Save(); }, unchanged, "Anna Schmidt", ""},
             Case{"name only: found by number",
                  [](TContactItem& k) { SaveAs(k, "Anna Berger", "+49 1701234567"); },
                  {"", "Anna Berger", "Bernd"},
                  "Anna Berger",
                  "Kontakt Anna Schmidt wurde in Anna Berger geändert"},
             Case{"number only: found by name",
                  [](TContactItem& k) { SaveAs(k, "Anna Schmidt", "+49 1609999999"); }, unchanged,
                  "Anna Schmidt", ""},
             Case{"name and number: found by neither",
                  [](TContactItem& k) { SaveAs(k, "Anna Berger", "+49 1609999999"); },
                  {"", "Bernd"},
                  "",
                  "Kontakt Anna Schmidt wurde gelöscht/komplett verändert"},
             Case{"deleted",
                  [](TContactItem& k) { k.Delete(); },
                  {"", "Bernd"},
                  "",
                  "Kontakt Anna Schmidt wurde gelöscht/komplett verändert"},
         }) {
        SCOPED_TRACE(c.label);
        WriteBytes(path, Contacts);
        window = FakeContactWindow();
        FillContactList(link, window);
        Choose("Anna Schmidt");
        edit = c.edit;
        OpenOrCreateContact(link, window);
        EXPECT_EQ(window.entries, c.entries);
        EXPECT_EQ(window.text, c.text);
        EXPECT_EQ(window.status, c.status);
        EXPECT_TRUE(link.RecipientIsContact());
    }
    EXPECT_EQ(form.shown, 6);
}

TEST_F(ContactEditingTest, AfterTheContactWentASecondClickOpensItAgain)
{
    Choose("Anna Schmidt");
    edit = [](TContactItem& k) { k.Delete(); };
    OpenOrCreateContact(link, window);
    edit = [](TContactItem& k) { k.Save(); }; // saving adds it again
    OpenOrCreateContact(link, window);
    EXPECT_EQ(shownWith, (std::vector<std::pair<std::string, std::string>>{
                             {"+49 1701234567", "Anna Schmidt"}, {"+49 1701234567", "Anna Schmidt"}}));
    EXPECT_EQ(window.status, "Kontakt Anna Schmidt wurde gelöscht/komplett verändert");
    EXPECT_EQ(ReadBytes(path),
              ContactCard("Bernd", "0171 5550000") + ContactCard("Anna Schmidt", "+49 1701234567"));
}

TEST_F(ContactEditingTest, NumberTextsOpenTheContactStoredInTheInternationalForm)
{
    for (const char* typed : {"+491701234567", "00491701234567", "01701234567"}) {
        SCOPED_TRACE(typed);
        Type(typed);
        OpenOrCreateContact(link, window);
        EXPECT_EQ(shownWith.back().second, "Anna Schmidt");
        EXPECT_EQ(window.text, "Anna Schmidt");
        EXPECT_EQ(window.selected, 1);
        EXPECT_TRUE(link.RecipientIsContact());
    }
    EXPECT_EQ(form.shown, 3);
}

TEST_F(ContactEditingTest, NewContactIsPrefilledFromTheBox)
{
    struct Case
    {
        const char* label;
        std::string typed;
        std::string number;
        std::string name;
    };
    for (const auto& c : {
             Case{"national form of a stored number is not found", "01715550000", "+491715550000", ""},
             Case{"number text in the stored form", "+49 160", "", "+49 160"},
             Case{"number with a blank is a name", "0171 5550000", "", "0171 5550000"},
             Case{"international number", "00441234", "+441234", ""},
             Case{"name", "Dora Klein", "", "Dora Klein"},
             Case{"one character fills in nothing", "D", "", ""},
             Case{"empty box", "", "", ""},
         }) {
        SCOPED_TRACE(c.label);
        Type(c.typed);
        OpenOrCreateContact(link, window);
        EXPECT_EQ(shownWith.back(), std::make_pair(c.number, c.name));
        EXPECT_FALSE(link.RecipientIsContact()); // closed without saving
    }
    EXPECT_EQ(ReadBytes(path), Contacts);
}

TEST_F(ContactEditingTest, NewContactClosedWithoutSavingChangesNothing)
{
    Type("Dora");
    window.status = "vorher";
    edit = [](TContactItem& k) { k.SetFullName("Dora Klein"); };
    OpenOrCreateContact(link, window);
    EXPECT_EQ(window.entries, (Entries{"", "Anna Schmidt", "Bernd"}));
    EXPECT_EQ(window.text, "Dora");
    EXPECT_EQ(window.status, "vorher");
    EXPECT_FALSE(link.RecipientIsContact());
}

TEST_F(ContactEditingTest, SavedNewContactIsChosenAndListed)
{
    Type("0160 1234");
    edit = [](TContactItem& k) { SaveAs(k, "Dora Klein", "+49 1601234"); };
    OpenOrCreateContact(link, window);
    EXPECT_EQ(window.entries, (Entries{"", "Anna Schmidt", "Bernd", "Dora Klein"}));
    EXPECT_EQ(window.text, "Dora Klein");
    EXPECT_EQ(window.status, "Kontakt Dora Klein wurde erstellt");
    EXPECT_TRUE(link.RecipientIsContact());
    EXPECT_EQ(link.Contact().MobileTelephoneNumber(), "+49 1601234");
}

TEST_F(ContactEditingTest, NewContactUnderAnExistingNameAddsAnEqualEntryAndChoosesTheFirst)
{
    Type("0160");
    edit = [](TContactItem& k) { SaveAs(k, "Bernd", "+49 160"); };
    OpenOrCreateContact(link, window);
    EXPECT_EQ(window.entries, (Entries{"", "Anna Schmidt", "Bernd", "Bernd"}));
    EXPECT_EQ(window.status, "Kontakt Bernd wurde erstellt");
    EXPECT_EQ(link.Contact().MobileTelephoneNumber(), "0171 5550000");
}

TEST_F(ContactEditingTest, UmlautsInNamesReachTheStatusAsUtf8)
{
    Type("J\xFCrgen"); // Windows-1252
    edit = [](TContactItem& k) { k.Save(); };
    OpenOrCreateContact(link, window);
    EXPECT_EQ(window.status, "Kontakt Jürgen wurde erstellt");
}

TEST_F(ContactEditingTest, WithoutAHeldFolderTheButtonSaysSo)
{
    WriteBytes(path, "kaputt\r\n");
    link.Release();
    window = FakeContactWindow();
    EXPECT_THROW(FillContactList(link, window), EContactFileError);
    Type("Dora");
    EXPECT_THROW_MESSAGE(OpenOrCreateContact(link, window), EAddressBookError, M::NotConnected());
    EXPECT_EQ(form.shown, 0);
}

TEST_F(ContactEditingTest, AnEmptyNameOrNumberIdentifiesNoContact)
{
    WriteBytes(path, Contacts + ContactCard("", "") + ContactCard("Carla", ""));
    window = FakeContactWindow();
    FillContactList(link, window);
    Type("D");
    window.status = "vorher";
    OpenOrCreateContact(link, window); // a new contact closed without saving
    EXPECT_EQ(window.status, "vorher");
    EXPECT_FALSE(link.RecipientIsContact());

    Choose("Carla");
    edit = [](TContactItem& k) { k.Delete(); };
    OpenOrCreateContact(link, window);
    EXPECT_EQ(window.status, "Kontakt Carla wurde gelöscht/komplett verändert");
}
