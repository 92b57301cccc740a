#include "addressbook/ContactStore.h"
#include "addressbook/ContactItem.h"

#include "AddressBookTestSupport.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// `text` with `from` replaced by `to` exactly once.
std::string ReplacedOnce(std::string text, const std::string& from, const std::string& to)
{
    size_t pos = text.find(from);
    EXPECT_NE(pos, std::string::npos) << from;
    if (pos != std::string::npos) text.replace(pos, from.size(), to);
    return text;
}

mode_t ModeOf(const std::string& path)
{
    struct stat info
    {
    };
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

class ContactStoreTest : public ::testing::Test
{
protected:
    std::shared_ptr<ContactStore> OpenWith(const std::string& content)
    {
        WriteBytes(path, content);
        return ContactStore::Open(path);
    }

    TempFolder folder;
    std::string path = folder.File("Kontakte.vcf");
};

} // namespace

TEST_F(ContactStoreTest, SavingOneContactChangesOnlyItsLines)
{
    struct LineChange
    {
        std::string from, to;
    };
    struct Case
    {
        const char* label;
        std::string file;
        ContactField field;
        std::string found, fullName, number;
        std::vector<LineChange> lines;
    };
    for (const auto& c : {
             Case{"2.1 quoted-printable name",
                  "outlook-2.1.vcf",
                  ContactField::FullName,
                  "J\xFCrgen M\xFCller",
                  "J\xFCrgen Maier",
                  "+49 1711234567",
                  {{"N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=FCrgen\r\n",
                    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Maier;J=C3=BCrgen;;;\r\n"},
                   {"FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:J=FCrgen M=FCller\r\n",
                    "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen=20Maier\r\n"}}},
             Case{"3.0 first of two equal names",
                  "addressbook-3.0.vcf",
                  ContactField::FullName,
                  "Anna Schmidt",
                  "Anna Meier-Schmidt",
                  "+49 1519876543",
                  {{"N:Schmidt;Anna;;;\r\n", "N:Meier-Schmidt;Anna;;;\r\n"},
                   {"FN:Anna Schmidt\r\n", "FN:Anna Meier-Schmidt\r\n"}}},
             Case{"3.0 number beside a name the code page cannot hold",
                  "addressbook-3.0.vcf",
                  ContactField::MobileTelephoneNumber,
                  "+49 1701112223",
                  "Ay?e \xD6zt\xFCrk",
                  "+49 1709998887",
                  {{"TEL;TYPE=cell:+49 1701112223\r\n", "TEL;TYPE=cell:+49 1709998887\r\n"}}},
             Case{"4.0 number given as tel URI",
                  "webmail-4.0.vcf",
                  ContactField::FullName,
                  "Peter Wagner",
                  "Peter Wagner",
                  "+49 1625556667",
                  {{"TEL;VALUE=uri;TYPE=\"cell,voice\";PREF=1:tel:+49 1623334445\n",
                    "TEL;TYPE=\"cell,voice\";PREF=1:+49 1625556667\n"}}},
         }) {
        SCOPED_TRACE(c.label);
        std::string original = DataFile(c.file);
        auto store = OpenWith(original);
        auto contact = store->Find(c.field, c.found);
        ASSERT_NE(contact, nullptr);
        contact->SetFullName(c.fullName);
        contact->SetMobileTelephoneNumber(c.number);
        store->Save(contact);

        std::string expected = original;
        for (const auto& line : c.lines) expected = ReplacedOnce(expected, line.from, line.to);
        EXPECT_EQ(ReadBytes(path), expected);
        auto reopened = ContactStore::Open(path);
        auto again = reopened->Find(ContactField::FullName, c.fullName);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->MobileTelephoneNumber(), c.number);
    }
}

TEST_F(ContactStoreTest, UnchangedContactIsNotWritten)
{
    auto store = OpenWith(DataFile("webmail-4.0.vcf"));
    FileStamp before = StampOf(path);
    store->At(0)->SetFullName("Peter Wagner");
    store->Save(store->At(0));
    EXPECT_EQ(StampOf(path), before);
}

TEST_F(ContactStoreTest, FirstSaveCreatesAPrivateFile)
{
    auto store = ContactStore::Open(path);
    EXPECT_EQ(store->Count(), 0);
    auto contact = store->CreateContact();
    EXPECT_EQ(store->Find(ContactField::FullName, ""), nullptr); // not in the file before it is saved
    contact->SetFullName("Anna Schmidt");
    contact->SetMobileTelephoneNumber("+491701234567");
    store->Save(contact);
    EXPECT_EQ(ReadBytes(path), "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna Schmidt\r\nN:Schmidt;Anna;;;\r\n"
                               "TEL;TYPE=cell:+491701234567\r\nEND:VCARD\r\n");
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(store->Count(), 1);
    EXPECT_EQ(store->At(0), contact);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1); // no temporary left
}

TEST_F(ContactStoreTest, NewContactIsAppendedAndTheFileKeepsItsMode)
{
    std::string original = DataFile("webmail-4.0.vcf");
    auto store = OpenWith(original);
    ::chmod(path.c_str(), 0644);
    auto contact = store->CreateContact();
    contact->SetFullName("Neu");
    store->Save(contact);
    EXPECT_EQ(ReadBytes(path), original + "BEGIN:VCARD\nVERSION:4.0\nFN:Neu\nN:Neu;;;;\nEND:VCARD\n");
    EXPECT_EQ(ModeOf(path), 0644u);
}

TEST_F(ContactStoreTest, DeletedContactLeavesTheOthersAndCanBeSavedAgain)
{
    std::string original = DataFile("outlook-2.1.vcf");
    auto store = OpenWith(original);
    auto juergen = store->At(0);
    std::string juergenCard = original.substr(0, original.find("BEGIN:VCARD", 1));
    store->Delete(juergen);
    EXPECT_EQ(juergen->State(), ContactState::Deleted);
    EXPECT_EQ(ReadBytes(path), original.substr(juergenCard.size()));
    EXPECT_EQ(store->Count(), 2);

    store->Save(juergen); // restores the card with every property
    EXPECT_EQ(ReadBytes(path), original.substr(juergenCard.size()) + juergenCard);
}

TEST_F(ContactStoreTest, FollowsChangesOnDisk)
{
    const std::string first = ContactCard("Erste", ""), second = ContactCard("Zweite", "");
    auto store = OpenWith(first + second);
    auto kept = store->At(0);
    auto changed = store->At(1);
    changed->SetMobileTelephoneNumber("+49 170 1");

    WriteBytes(path, first + ContactCard("Zweite, anders", "") + second);
    store->Refresh();
    ASSERT_EQ(store->Count(), 3);
    EXPECT_EQ(store->At(0), kept);
    EXPECT_EQ(store->At(1)->FullName(), "Zweite, anders");
    EXPECT_EQ(store->At(2), changed); // its card moved but did not change

    WriteBytes(path, first);
    EXPECT_THROW_MESSAGE(store->Save(changed), EContactFileError,
                         AddressBookMessages::ChangedElsewhere("Zweite"));
    EXPECT_EQ(ReadBytes(path), first);
}

TEST_F(ContactStoreTest, BadFilesRaiseAndAreNeverWritten)
{
    auto store = OpenWith(DataFile("addressbook-3.0.vcf"));
    auto contact = store->At(0);
    contact->SetFullName("Anders");
    std::string junk = "Dies ist keine Adressdatei.\n";
    WriteBytes(path, junk);
    EXPECT_THROW_MESSAGE(store->Save(contact), EContactFileError, AddressBookMessages::NotAVCard(path, 1));
    EXPECT_THROW_MESSAGE(store->Save(store->CreateContact()), EContactFileError,
                         AddressBookMessages::NotAVCard(path, 1));
    EXPECT_EQ(ReadBytes(path), junk);
    EXPECT_THROW_MESSAGE(
        ContactStore::Open(path), EContactFileError,
        "Das Adressbuch " + path +
            " ist keine vCard-Datei: Zeile 1 steht außerhalb von BEGIN:VCARD und END:VCARD.");

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_THROW_MESSAGE(ContactStore::Open(path), EContactFileError,
                         "Das Adressbuch " + path + " kann nicht gelesen werden: keine Datei.");
    std::filesystem::remove(path);

    WriteBytes(path, "");
    ::truncate(path.c_str(), 257LL * 1024 * 1024); // sparse
    EXPECT_THROW_MESSAGE(ContactStore::Open(path), EContactFileError, AddressBookMessages::TooLarge(path));
}

TEST_F(ContactStoreTest, UnwritableFolderRaisesAndLosesNothing)
{
    std::string missing = folder.File("fehlt/Kontakte.vcf");
    auto store = ContactStore::Open(missing);
    auto contact = store->CreateContact();
    contact->SetFullName("Anna");
    EXPECT_THROW_MESSAGE(store->Save(contact), EContactFileError,
                         "Das Adressbuch " + missing +
                             " kann nicht gespeichert werden: Ungültiger Dateiname.");
    EXPECT_EQ(store->Count(), 0);
    EXPECT_EQ(contact->FullName(), "Anna");
}
