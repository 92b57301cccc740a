#include "addressbook/VCard.h"
#include "addressbook/VCardText.h"

#include <gtest/gtest.h>

namespace {

std::string Card21(const std::string& lines)
{
    return "BEGIN:VCARD\r\nVERSION:2.1\r\n" + lines + "END:VCARD\r\n";
}

std::string Card30(const std::string& lines)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "END:VCARD\r\n";
}

std::string Card40(const std::string& lines)
{
    return "BEGIN:VCARD\nVERSION:4.0\n" + lines + "END:VCARD\n";
}

} // namespace

TEST(VCardTest, ReadsNameAndMobileNumber)
{
    struct Case
    {
        const char* label;
        std::string card, fullName, number;
    };
    for (const auto& c : {
             Case{"lower case names", Card30("fn:A\r\ntel;type=VOICE;type=cell:333\r\n"), "A", "333"},
             Case{"folded 3.0 line drops one blank", Card30("FN:Max Mu\r\n  ster\r\n"), "Max Mu ster", ""},
             Case{"folded with a tab", Card40("FN:Max Mu\n\tster\n"), "Max Muster", ""},
             Case{"quoted-printable Latin-1 with soft break",
                  Card21("FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:J=FCrgen M=\r\n=FCller\r\n"),
                  "J\xFCrgen M\xFCller", ""},
             Case{"bare QUOTED-PRINTABLE with UTF-8",
                  Card21("FN;CHARSET=UTF-8;QUOTED-PRINTABLE:Gr=C3=A9ta\r\n"), "Gr\xE9ta", ""},
             Case{"2.1 without charset in Windows-1252", Card21("FN:M\xFCller \x80\r\n"), "M\xFCller \x80",
                  ""},
             Case{"3.0 is UTF-8 by default", Card30("FN:M\xC3\xBCller\r\n"), "M\xFCller", ""},
             Case{"unknown charset read as UTF-8 or Windows-1252",
                  Card21("FN;CHARSET=X-UNBEKANNT:M\xFCller\r\n"), "M\xFCller", ""},
             Case{"3.0 escapes", Card30("FN:Schmidt\\, Meier \\; Co \\\\ X\r\n"), "Schmidt, Meier ; Co \\ X",
                  ""},
             Case{"2.1 keeps backslashes", Card21("FN:C:\\temp\\new\r\n"), "C:\\temp\\new", ""},
             Case{"N builds the name when FN is missing",
                  Card21("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Wei=C3=9F;Gr=C3=A9ta;;Dr.;\r\n"),
                  "Dr. Gr\xE9ta Wei\xDF", ""},
             Case{"escaped line break in a name becomes a blank", Card30("FN:Max\\nMuster\r\n"), "Max Muster",
                  ""},
             Case{"CR LF in a name becomes one blank",
                  Card21("FN;ENCODING=QUOTED-PRINTABLE:Max=0D=0AMuster\r\n"), "Max Muster", ""},
             Case{"control characters leave the number",
                  Card21("FN:A\r\nTEL;CELL;ENCODING=QUOTED-PRINTABLE:+49=0D=0A171=00=09\r\n"), "A", "+49171"},
             Case{"nested card is not the contact's",
                  Card21("AGENT:\r\nBEGIN:VCARD\r\nFN:Sekretariat\r\nTEL;CELL:999\r\nEND:VCARD\r\nFN:"
                         "Chef\r\nTEL;CELL:111\r\n"),
                  "Chef", "111"},
             Case{"lines without colon are skipped", Card30("Unsinn\r\nFN:A\r\n"), "A", ""},
         }) {
        SCOPED_TRACE(c.label);
        VCardContact contact = ReadVCard(c.card);
        EXPECT_EQ(contact.FullName, c.fullName);
        EXPECT_EQ(contact.MobileTelephoneNumber, c.number);
    }
}

TEST(VCardTest, MobileNumberIsACellOrUntypedTelAndAnEditChangesOnlyThatLine)
{
    struct Case
    {
        const char* label;
        std::string card, number, edited; // edited: the card after the number became "+49 160 9"
    };
    for (const auto& c : {
             Case{"3.0 TYPE=CELL after a work number",
                  Card30("TEL;TYPE=WORK:030 1\r\nTEL;TYPE=CELL:0171 2\r\n"), "0171 2",
                  Card30("TEL;TYPE=WORK:030 1\r\nTEL;TYPE=CELL:+49 160 9\r\n")},
             Case{"3.0 TYPE=cell,voice", Card30("TEL;TYPE=cell,voice:0171 2\r\n"), "0171 2",
                  Card30("TEL;TYPE=cell,voice:+49 160 9\r\n")},
             Case{"4.0 quoted list, grouped",
                  Card40("item1.TEL;TYPE=home:1\nitem2.TEL;TYPE=\"voice,cell\":2\n"), "2",
                  Card40("item1.TEL;TYPE=home:1\nitem2.TEL;TYPE=\"voice,cell\":+49 160 9\n")},
             Case{"2.1 bare CELL", Card21("TEL;HOME;VOICE:1\r\nTEL;CELL;VOICE:2\r\n"), "2",
                  Card21("TEL;HOME;VOICE:1\r\nTEL;CELL;VOICE:+49 160 9\r\n")},
             Case{"4.0 tel URI with VALUE=uri", Card40("TEL;VALUE=uri;TYPE=cell:tel:+49-171-1;ext=5\n"),
                  "+49-171-1", Card40("TEL;TYPE=cell:+49 160 9\n")},
             Case{"4.0 text and 3.0 mobile", Card40("TEL;TYPE=work:1\nTEL;TYPE=text:2\nTEL;TYPE=MOBILE:3\n"),
                  "2", Card40("TEL;TYPE=work:1\nTEL;TYPE=text:+49 160 9\nTEL;TYPE=MOBILE:3\n")},
             Case{"cell wins over an earlier untyped one", Card30("TEL:1\r\nTEL;TYPE=CELL:2\r\n"), "2",
                  Card30("TEL:1\r\nTEL;TYPE=CELL:+49 160 9\r\n")},
             Case{"untyped behind home and fax", Card30("TEL;TYPE=\"home,fax\":1\r\nTEL:2\r\n"), "2",
                  Card30("TEL;TYPE=\"home,fax\":1\r\nTEL:+49 160 9\r\n")},
             Case{"voice and pref say nothing", Card30("TEL;TYPE=WORK:1\r\nTEL;TYPE=voice;TYPE=pref:2\r\n"),
                  "2", Card30("TEL;TYPE=WORK:1\r\nTEL;TYPE=voice;TYPE=pref:+49 160 9\r\n")},
             Case{"2.1 encoding is no type", Card21("TEL;ENCODING=QUOTED-PRINTABLE:0171=202\r\n"), "0171 2",
                  Card21("TEL:+49 160 9\r\n")},
             Case{"3.0 home, work, fax, pager only: a cell TEL is added",
                  Card30("TEL;TYPE=home:1\r\nTEL;TYPE=WORK,VOICE:2\r\nTEL;TYPE=\"home,fax\":3\r\nTEL;TYPE="
                         "pager:4\r\n"),
                  "",
                  Card30("TEL;TYPE=home:1\r\nTEL;TYPE=WORK,VOICE:2\r\nTEL;TYPE=\"home,fax\":3\r\nTEL;TYPE="
                         "pager:4\r\n"
                         "TEL;TYPE=CELL:+49 160 9\r\n")},
             Case{"2.1 bare HOME, FAX, PAGER only", Card21("TEL;HOME:1\r\nTEL;WORK;FAX:2\r\nTEL;PAGER:3\r\n"),
                  "", Card21("TEL;HOME:1\r\nTEL;WORK;FAX:2\r\nTEL;PAGER:3\r\nTEL;CELL:+49 160 9\r\n")},
             Case{"4.0 home tel URI only", Card40("TEL;VALUE=uri;TYPE=home:tel:+49-30-1\n"), "",
                  Card40("TEL;VALUE=uri;TYPE=home:tel:+49-30-1\nTEL;TYPE=cell:+49 160 9\n")},
             Case{"no TEL", Card30("EMAIL:a@example.org\r\n"), "",
                  Card30("EMAIL:a@example.org\r\nTEL;TYPE=CELL:+49 160 9\r\n")},
         }) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ReadVCard(c.card).MobileTelephoneNumber, c.number);
        std::string edited = PatchVCard(c.card, {{}, "+49 160 9"});
        EXPECT_EQ(edited, c.edited);
        EXPECT_EQ(ReadVCard(edited).MobileTelephoneNumber, "+49 160 9");
    }
}

TEST(VCardTest, CharactersTheCodePageCannotHoldReadAsQuestionMarks)
{
    VCardContact contact = ReadVCard(Card30("FN:\xC5\x81ukasz Nowak\r\nTEL;TYPE=cell:+48 601\r\n"));
    EXPECT_EQ(contact.FullName, "?ukasz Nowak");
    EXPECT_EQ(contact.Unmappable, "\xC5\x81");
}

TEST(VCardTest, PatchRewritesOnlyTheChangedLines)
{
    struct Case
    {
        const char* label;
        std::string card;
        VCardChange change;
        std::string expected;
    };
    const std::string rest30 =
        "ORG:Schmidt\\, Meier;\r\nitem2.TEL;type=CELL;type=VOICE:+49 1519876543\r\nNOTE:x\r\n";
    for (const auto& c : {
             Case{"3.0 name: FN and N",
                  Card30("N:Schmidt;Anna;;;\r\nFN:Anna Schmidt\r\n" + rest30),
                  {"Anna Meier", {}},
                  Card30("N:Meier;Anna;;;\r\nFN:Anna Meier\r\n" + rest30)},
             Case{"3.0 number keeps group and parameters",
                  Card30("FN:A\r\n" + rest30),
                  {{}, "+49 1510000000"},
                  Card30("FN:A\r\nORG:Schmidt\\, Meier;\r\nitem2.TEL;type=CELL;type=VOICE:+49 "
                         "1510000000\r\nNOTE:x\r\n")},
             Case{"4.0 keeps LF",
                  Card40("FN:Peter Wagner\nN:Wagner;Peter;;;\nUID:1\n"),
                  {"Peter Paul Wagner", {}},
                  Card40("FN:Peter Paul Wagner\nN:Wagner;Peter Paul;;;\nUID:1\n")},
             Case{"tel URI becomes text",
                  Card40("FN:A\nTEL;VALUE=uri;TYPE=\"cell,voice\";PREF=1:tel:+49 162\n"),
                  {{}, "+49 170 9"},
                  Card40("FN:A\nTEL;TYPE=\"cell,voice\";PREF=1:+49 170 9\n")},
             Case{"2.1 umlauts become UTF-8 quoted-printable",
                  Card21(
                      "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=FCrgen\r\n"
                      "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:J=FCrgen M=FCller\r\nTEL;CELL:1\r\n"),
                  {"J\xFCrgen Maier", {}},
                  Card21("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Maier;J=C3=BCrgen;;;\r\n"
                         "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen=20Maier\r\nTEL;CELL:1\r\n")},
             Case{"2.1 without FN gets one",
                  Card21("N:Schmidt;Anna\r\nTEL;CELL:1\r\n"),
                  {"Anna Meier", {}},
                  Card21("N:Meier;Anna;;;\r\nTEL;CELL:1\r\nFN:Anna Meier\r\n")},
             Case{"missing TEL added in 3.0",
                  Card30("FN:A\r\n"),
                  {{}, "+49 171"},
                  Card30("FN:A\r\nTEL;TYPE=CELL:+49 171\r\n")},
             Case{"missing TEL added in 2.1",
                  Card21("FN:A\r\n"),
                  {{}, "+49 171"},
                  Card21("FN:A\r\nTEL;CELL:+49 171\r\n")},
             Case{"empty number keeps the TEL line",
                  Card30("FN:A\r\nTEL;TYPE=CELL:1\r\n"),
                  {{}, ""},
                  Card30("FN:A\r\nTEL;TYPE=CELL:\r\n")},
             Case{"empty number and no TEL adds nothing", Card30("FN:A\r\n"), {{}, ""}, Card30("FN:A\r\n")},
             Case{"separators are escaped",
                  Card40("FN:A\nN:A;;;;\n"),
                  {"Meier, Anna; GmbH", {}},
                  Card40("FN:Meier\\, Anna\\; GmbH\nN:GmbH;Meier\\, Anna\\;;;;\n")},
             Case{"control characters are not written",
                  Card40("FN:A\n"),
                  {"Max\r\nMuster", "+49\n171"},
                  Card40("FN:Max Muster\nTEL;TYPE=cell:+49171\n")},
             Case{"a long name is folded",
                  Card40("FN:A\n"),
                  {std::string(80, 'x'), {}},
                  Card40("FN:" + std::string(72, 'x') + "\n " + std::string(8, 'x') + "\n")},
             Case{"a 2.1 line of 76 bytes is not folded",
                  Card21("FN:A\r\nTEL;CELL:1\r\n"),
                  {{}, std::string(67, '1')},
                  Card21("FN:A\r\nTEL;CELL:" + std::string(67, '1') + "\r\n")},
             Case{"2.1 backslash before a semicolon",
                  Card21("FN:A\r\n"),
                  {"C:\\;x", {}},
                  Card21("FN:C:\\\\;x\r\n")},
             Case{"a soft line break cut off by END:VCARD is not continued by an added line",
                  "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:A=\r\nEND:VCARD",
                  {{}, "+49 171"},
                  "BEGIN:VCARD\r\nVERSION:2.1\r\nTEL;CELL:+49 "
                  "171\r\nFN;ENCODING=QUOTED-PRINTABLE:A=\r\nEND:VCARD"},
             Case{"a long 2.1 name gets soft line breaks",
                  Card21("FN:A\r\n"),
                  {std::string(80, 'x'), {}},
                  Card21("FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:" + std::string(32, 'x') + "=\r\n" +
                         std::string(48, 'x') + "\r\n")},
         }) {
        SCOPED_TRACE(c.label);
        std::string patched = PatchVCard(c.card, c.change);
        EXPECT_EQ(patched, c.expected);
        VCardContact contact = ReadVCard(patched);
        if (c.change.FullName) {
            EXPECT_EQ(contact.FullName, CleanFullName(*c.change.FullName));
        }
        if (c.change.MobileTelephoneNumber) {
            EXPECT_EQ(contact.MobileTelephoneNumber, CleanTelephoneNumber(*c.change.MobileTelephoneNumber));
        }
    }
}

TEST(VCardTest, NewCardIsVersion4WithTheFilesLineBreak)
{
    EXPECT_EQ(NewVCard("\n"), "BEGIN:VCARD\nVERSION:4.0\nFN:\nN:;;;;\nEND:VCARD\n");
    std::string card = PatchVCard(NewVCard("\r\n"), {"Anna Schmidt", "+491701234567"});
    EXPECT_EQ(card, "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna "
                    "Schmidt\r\nN:Schmidt;Anna;;;\r\nTEL;TYPE=cell:+491701234567\r\n"
                    "END:VCARD\r\n");
}
