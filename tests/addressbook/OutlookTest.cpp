#include "addressbook/Outlook.h"

#include "AddressBookTestSupport.h"

namespace {

const std::string Contacts = ContactCard("Anna Schmidt", "+49 1701234567") +
                             ContactCard("Anna Schmidt", "+49 1609999999") +
                             ContactCard("", "+49 221445566") + ContactCard("Bernd", "") +
                             ContactCard("Max \"Mad\" Muster", "0171 5550000");

class OutlookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteBytes(path, Contacts);
        Outlook.Connect();
        OutlookNameSpace = Outlook.GetNamespace("MAPI");
        OutlookNameSpace.Logon();
        ContactsFolder = OutlookNameSpace.GetDefaultFolder(olFolderContacts);
    }

    // The number of the contact a filter finds in file order (from 1), 0 for none.
    int Found(const std::string& filter)
    {
        ContactItemPtr found = ContactsFolder.Items().Find(filter);
        TItems items = ContactsFolder.Items();
        for (int i = 1; i <= items.Count(); ++i)
            if (items.Item(i) == found) return i;
        return 0;
    }

    TempFolder folder;
    std::string path = ContactsFilePath(folder.Path() + "/");
    ScriptedContactForm form;
    TOutlookApplication Outlook{path, form};
    TContactItem Contact{Outlook};
    TNameSpace OutlookNameSpace;
    TMAPIFolder ContactsFolder;
};

} // namespace

TEST_F(OutlookTest, ListsTheFullNamesInFileOrder)
{
    std::vector<std::string> names;
    int count = ContactsFolder.Items().Count();
    for (int i = 1; i <= count; ++i) names.push_back(ContactsFolder.Items().Item(i)->FullName());
    EXPECT_EQ(names,
              (std::vector<std::string>{"Anna Schmidt", "Anna Schmidt", "", "Bernd", "Max \"Mad\" Muster"}));
}

TEST_F(OutlookTest, FindComparesTheValueExactlyAndTakesTheFirstMatch)
{
    struct Case
    {
        const char* label;
        std::string filter;
        int found;
    };
    for (const auto& c : {
             Case{"equal names: the first", "[Fullname] = \"Anna Schmidt\"", 1},
             Case{"empty name", "[Fullname] = \"\"", 3},
             Case{"case counts", "[Fullname] = \"anna schmidt\"", 0},
             Case{"no prefix match", "[Fullname] = \"Anna\"", 0},
             Case{"quotes inside the value", "[Fullname] = \"Max \"Mad\" Muster\"", 5},
             Case{"property name in any case", "[FULLNAME] = \"Bernd\"", 4},
             Case{"number in the +49 form", "[MobileTelephoneNumber] = \"+49 1701234567\"", 1},
             Case{"number without the blank", "[MobileTelephoneNumber] = \"+491701234567\"", 0},
             Case{"number in national form is not the stored form",
                  "[MobileTelephoneNumber] = \"+49 1715550000\"", 0},
             Case{"empty number", "[MobileTelephoneNumber] = \"\"", 4},
         }) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Found(c.filter), c.found);
    }
}

TEST_F(OutlookTest, FindSeesChangesOnDiskBetweenTwoCalls)
{
    const std::string filter = "[Fullname] = \"Carla Neu\"";
    EXPECT_EQ(ContactsFolder.Items().Find(filter), nullptr);
    WriteBytes(path, Contacts + ContactCard("Carla Neu", "+49 1520000000"));
    ContactItemPtr carla = ContactsFolder.Items().Find(filter);
    ASSERT_NE(carla, nullptr);
    EXPECT_EQ(carla->MobileTelephoneNumber(), "+49 1520000000");
    EXPECT_EQ(ContactsFolder.Items().Count(), 6);

    WriteBytes(path, ContactCard("Carla Neu", "+49 1529999999"));
    EXPECT_EQ(ContactsFolder.Items().Find(filter)->MobileTelephoneNumber(), "+49 1529999999");
}

TEST_F(OutlookTest, MisuseRaisesLikeAFailedCall)
{
    namespace M = AddressBookMessages;
    for (const std::string filter :
         {"[Fullname] = Anna", "[Fullname]=\"Anna\"", "[Email1Address] = \"a@b.de\"", "",
          "[Fullname] = \"Anna", "[Fullname] = \""}) {
        SCOPED_TRACE(filter);
        EXPECT_THROW_MESSAGE(ContactsFolder.Items().Find(filter), EAddressBookError,
                             M::UnsupportedFilter(filter));
    }
    EXPECT_THROW_MESSAGE(ContactsFolder.Items().Item(0), EAddressBookError, M::IndexOutOfRange(0, 5));
    EXPECT_THROW_MESSAGE(ContactsFolder.Items().Item(6), EAddressBookError, M::IndexOutOfRange(6, 5));
    EXPECT_THROW_MESSAGE(Outlook.GetNamespace("OTHER"), EAddressBookError, M::UnknownNamespace("OTHER"));
    EXPECT_THROW_MESSAGE(OutlookNameSpace.GetDefaultFolder(6), EAddressBookError, M::UnsupportedFolder(6));
    EXPECT_THROW_MESSAGE(Outlook.CreateItem(0), EAddressBookError, M::UnsupportedItemType(0));
    EXPECT_THROW_MESSAGE(Contact.FullName(), EAddressBookError, M::NoContactAttached());
    EXPECT_THROW_MESSAGE(Contact.SetMobileTelephoneNumber("1"), EAddressBookError, M::NoContactAttached());
    EXPECT_THROW_MESSAGE(Contact.Display(1), EAddressBookError, M::NoContactAttached());
    EXPECT_THROW_MESSAGE(Contact.Save(), EAddressBookError, M::NoContactAttached());
    EXPECT_THROW_MESSAGE(Contact.Delete(), EAddressBookError, M::NoContactAttached());
    Contact.ConnectTo(ContactsFolder.Items().Item(1));
    EXPECT_THROW_MESSAGE(Contact.Display(0), EAddressBookError, M::ModalOnly());
    EXPECT_THROW_MESSAGE(TMAPIFolder().Items(), EAddressBookError, M::NotConnected());
    EXPECT_THROW_MESSAGE(TNameSpace().Logon(), EAddressBookError, M::NotConnected());
}

TEST_F(OutlookTest, DisplayShowsTheFormWhichSavesOrDeletes)
{
    Contact.ConnectTo(ContactsFolder.Items().Find("[MobileTelephoneNumber] = \"+49 1609999999\""));
    form.onShow = [](TContactItem& contact) {
        contact.SetFullName("Anna Berger");
        contact.Save();
    };
    Contact.Display(1);
    EXPECT_EQ(form.shown, 1);
    EXPECT_EQ(Contact.FullName(), "Anna Berger");
    EXPECT_EQ(ReadBytes(path), ContactCard("Anna Schmidt", "+49 1701234567") +
                                   ContactCard("Anna Berger", "+49 1609999999") +
                                   ContactCard("", "+49 221445566") + ContactCard("Bernd", "") +
                                   ContactCard("Max \"Mad\" Muster", "0171 5550000"));

    form.onShow = [](TContactItem& contact) { contact.Delete(); };
    Contact.Display(1);
    EXPECT_EQ(ContactsFolder.Items().Find("[Fullname] = \"Anna Berger\""), nullptr);
    EXPECT_EQ(ContactsFolder.Items().Find("[MobileTelephoneNumber] = \"+49 1609999999\""), nullptr);
    EXPECT_EQ(ContactsFolder.Items().Count(), 4);
    EXPECT_EQ(Contact.FullName(), "Anna Berger"); // still attached, as the window expects
}

TEST_F(OutlookTest, CreatedContactIsInTheFileOnlyOnceSaved)
{
    Outlook.Disconnect();
    Contact.ConnectTo(Outlook.CreateItem(olContactItem)); // connects again
    Contact.SetMobileTelephoneNumber("+491701112222");
    Contact.Display(1); // closed without saving
    EXPECT_EQ(Found("[MobileTelephoneNumber] = \"+491701112222\""), 0);
    EXPECT_EQ(ContactsFolder.Items().Count(), 5);

    form.onShow = [](TContactItem& contact) {
        contact.SetFullName("Carla Neu");
        contact.Save();
    };
    Contact.Display(1);
    ContactItemPtr found = ContactsFolder.Items().Find("[Fullname] = \"Carla Neu\"");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->MobileTelephoneNumber(), "+491701112222");
    EXPECT_EQ(ContactsFolder.Items().Count(), 6);
}

TEST_F(OutlookTest, ReleaseDetachesEverything)
{
    Contact.ConnectTo(ContactsFolder.Items().Item(1));
    TContactItem kept{Outlook};
    kept.ConnectTo(ContactsFolder.Items().Item(1));
    Contact.Disconnect();
    EXPECT_FALSE(Contact.Connected());
    OutlookNameSpace.Logoff();
    Outlook.Disconnect();
    OutlookNameSpace = TNameSpace();
    ContactsFolder = TMAPIFolder();
    EXPECT_FALSE(Outlook.Connected());
    EXPECT_THROW_MESSAGE(Outlook.GetNamespace("MAPI"), EAddressBookError,
                         AddressBookMessages::NotConnected());
    EXPECT_THROW_MESSAGE(kept.Save(), EAddressBookError, AddressBookMessages::NotConnected());
    EXPECT_THROW_MESSAGE(kept.Display(1), EAddressBookError, AddressBookMessages::NotConnected());
    EXPECT_EQ(kept.FullName(), "Anna Schmidt");
    EXPECT_EQ(form.shown, 0);
}

TEST_F(OutlookTest, UnparsableFileKeepsTheApplicationDetached)
{
    Outlook.Disconnect();
    WriteBytes(path, "\x89PNG\r\n\x1A\n");
    EXPECT_THROW_MESSAGE(Outlook.Connect(), EContactFileError, AddressBookMessages::NotAVCard(path, 1));
    EXPECT_FALSE(Outlook.Connected());
    EXPECT_THROW(Outlook.CreateItem(olContactItem), EContactFileError);
}
