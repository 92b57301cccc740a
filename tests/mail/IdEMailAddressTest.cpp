#include "mail/IdEMailAddress.h"
#include "tests/mail/MailTestText.h"

#include <gtest/gtest.h>

namespace {

const TMailCharset Latin1{TransferKind::transferEightBit, 'Q', "ISO-8859-1"};

} // namespace

TEST(IdEMailAddressTest, FormatAddressItem)
{
    struct Case
    {
        const char* label;
        std::string name, address, expected;
    };
    const Case cases[] = {
        {"ASCII name in quotes", "Dein Name", "a@b.de", "\"Dein Name\" <a@b.de>"},
        {"no name: the address alone", "", "a@b.de", "a@b.de"},
        {"neither", "", "", ""},
        {"umlauts encoded", Cp("Büro Süd"), "a@b.de", "=?ISO-8859-1?Q?B=FCro_S=FCd?= <a@b.de>"},
        {"comma encoded inside the word", Cp("Süd, Nord"), "a@b.de",
         "=?ISO-8859-1?Q?S=FCd=2C?= Nord <a@b.de>"},
        {"quote and backslash escaped", "Max \"Mo\" a\\b", "a@b.de", "\"Max \\\"Mo\\\" a\\\\b\" <a@b.de>"},
        {"line break encoded", "Max\r\nBcc: x", "a@b.de", "=?ISO-8859-1?Q?Max=0D=0ABcc=3A?= x <a@b.de>"},
        {"in a phrase only letters, digits and !*+-/ stand as they are", Cp("Jörg&Co's"), "a@b.de",
         "=?ISO-8859-1?Q?J=F6rg=26Co=27s?= <a@b.de>"},
        {"a name that reads as an encoded word", "=?UTF-8?Q?x?=", "a@b.de",
         "=?ISO-8859-1?Q?=3D=3FUTF-8=3FQ=3Fx=3F=3D?= <a@b.de>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(FormatAddressItem(TIdEMailAddressItem(c.address, c.name), Latin1), c.expected);
    }
}

TEST(IdEMailAddressTest, FormatAddressListJoinsWithComma)
{
    TIdEMailAddressList list;
    EXPECT_EQ(FormatAddressList(list, Latin1), "");
    list.Add().SetAddress("a@b.de");
    TIdEMailAddressItem& second = list.Add();
    second.SetAddress("c@d.de");
    second.SetName("C");
    EXPECT_EQ(FormatAddressList(list, Latin1), "a@b.de, \"C\" <c@d.de>");
}

TEST(IdEMailAddressTest, TextCombinesNameAndAddress)
{
    TIdEMailAddressItem item("a@b.de", "");
    EXPECT_EQ(item.Text(), "a@b.de");
    item.SetText("Max Muster <m@x.de>");
    EXPECT_EQ(item.Name(), "Max Muster");
    EXPECT_EQ(item.Address(), "m@x.de");
    EXPECT_EQ(item.Text(), "Max Muster <m@x.de>");
    item.SetText("");
    EXPECT_EQ(item.Name(), "");
    EXPECT_EQ(item.Address(), "");
}
