#include "addressbook/VCardFile.h"
#include "addressbook/VCard.h"

#include "AddressBookTestSupport.h"

namespace {

const std::string Path = "/home/anna/Tickerpost/Kontakte.vcf";
const std::string Card = ContactCard("A", "");

} // namespace

TEST(VCardFileTest, RefusesWhatIsNoVCardFile)
{
    struct Case
    {
        const char* label;
        std::string content;
        std::string message;
    };
    for (const auto& c : {
             Case{"plain text", "Hallo Welt\n", AddressBookMessages::NotAVCard(Path, 1)},
             Case{"text behind a card", Card + "\r\nUnsinn\r\n", AddressBookMessages::NotAVCard(Path, 6)},
             Case{"END without BEGIN", "END:VCARD\r\n", AddressBookMessages::NotAVCard(Path, 1)},
             Case{"truncated card", Card + "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:B",
                  AddressBookMessages::Truncated(Path, 5)},
             Case{"nested card not closed", "BEGIN:VCARD\nAGENT:\nBEGIN:VCARD\nEND:VCARD\n",
                  AddressBookMessages::Truncated(Path, 1)},
             Case{"binary junk",
                  Card + std::string("\x7F"
                                     "ELF\x02\x01\x01\x00\x00",
                                     9),
                  AddressBookMessages::BinaryData(Path, 5)},
             Case{"one line of 8 MB", std::string(8 << 20, 'A'), AddressBookMessages::NotAVCard(Path, 1)},
         }) {
        SCOPED_TRACE(c.label);
        EXPECT_THROW_MESSAGE(SplitVCardFile(c.content, Path), EContactFileError, c.message);
    }
}

TEST(VCardFileTest, SplitAndJoinGiveTheSameBytes)
{
    struct Case
    {
        const char* label;
        std::string content;
        size_t cards;
    };
    for (const auto& c : {
             Case{"empty file", "", 0},
             Case{"blank lines only", "\r\n  \r\n", 0},
             Case{"byte order mark", "\xEF\xBB\xBF" + Card, 1},
             Case{"no line break at the end", Card + Card.substr(0, Card.size() - 2), 2},
             Case{"blank lines between cards", "\n" + Card + "\r\n\r\n" + Card + "\n", 2},
             Case{"old Mac line ends", "BEGIN:VCARD\rFN:A\rEND:VCARD\r", 1},
             Case{"markers in lower case with trailing blanks", "begin:vcard \nFN:A\nend:VCard\t\n", 1},
             Case{"2.1 export", DataFile("outlook-2.1.vcf"), 3},
             Case{"3.0 export", DataFile("addressbook-3.0.vcf"), 4},
             Case{"4.0 export", DataFile("webmail-4.0.vcf"), 2},
         }) {
        SCOPED_TRACE(c.label);
        VCardFileContent file = SplitVCardFile(c.content, Path);
        EXPECT_EQ(file.Cards.size(), c.cards);
        EXPECT_EQ(JoinVCardFile(file), c.content);
    }
}

TEST(VCardFileTest, AppendAndRemoveKeepTheTextAround)
{
    VCardFileContent file = SplitVCardFile("\xEF\xBB\xBF", Path);
    AppendCard(file, Card);
    EXPECT_EQ(JoinVCardFile(file), "\xEF\xBB\xBF" + Card);

    file = SplitVCardFile("BEGIN:VCARD\nFN:A\nEND:VCARD", Path);
    AppendCard(file, "BEGIN:VCARD\nFN:B\nEND:VCARD\n");
    EXPECT_EQ(JoinVCardFile(file), "BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B\nEND:VCARD\n");

    file = SplitVCardFile("\n" + Card + "\n" + Card + "\n\n", Path);
    RemoveCard(file, 0);
    EXPECT_EQ(JoinVCardFile(file), "\n\n" + Card + "\n\n");
}

TEST(VCardFileTest, LargeInputIsReadInLinearTime)
{
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kontakt " + std::to_string(i) +
                "\r\nTEL;TYPE=cell:+49 170" + std::to_string(i) + "\r\nEND:VCARD\r\n";
    VCardFileContent file = SplitVCardFile(many, Path);
    ASSERT_EQ(file.Cards.size(), 100000u);
    EXPECT_EQ(ReadVCard(file.Cards[99999]).FullName, "Kontakt 99999");

    std::string photo = "BEGIN:VCARD\nVERSION:3.0\nPHOTO;ENCODING=b:" + std::string(4 << 20, 'Q');
    for (int i = 0; i < 50000; ++i) photo += "\n " + std::string(74, 'Q');
    photo += "\nFN:Mit Foto\nEND:VCARD\n";
    file = SplitVCardFile(photo, Path);
    ASSERT_EQ(file.Cards.size(), 1u);
    EXPECT_EQ(ReadVCard(file.Cards[0]).FullName, "Mit Foto");

    std::string softBreaks = "BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE;ENCODING=QUOTED-PRINTABLE:";
    for (int i = 0; i < 200000; ++i) softBreaks += "a=\r\n";
    softBreaks += "b\r\nFN:Lange Notiz\r\nEND:VCARD\r\n";
    EXPECT_EQ(ReadVCard(softBreaks).FullName, "Lange Notiz");
}
