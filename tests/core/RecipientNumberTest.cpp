#include "core/RecipientNumber.h"

#include <gtest/gtest.h>

namespace {

const char* const Gateway = "sms.example";
const char* const Invalid = "Bitte gültige Nummer eingeben oder Kontakt auswählen";
const char* const NoMobile = "Kontakt hat keine Handynummer. SMS nicht geschickt.";

} // namespace

TEST(RecipientNumberTest, NormalizeNumber)
{
    struct Case
    {
        const char* number;
        const char* normalized;
    };
    for (auto c : {Case{"01711234567", "491711234567"}, Case{"+491711234567", "491711234567"},
                   Case{"00491711234567", "491711234567"}, Case{"+01711234567", "01711234567"},
                   Case{"491711234567", ""}, Case{"", ""}, Case{"00", ""}, Case{"0", "49"},
                   Case{"+49 171 1234567", "491711234567"}, Case{"+49 (171) 123-45/67", "49(171)123-45/67"},
                   Case{"0171 1234567", "491711234567"}, Case{" 0171", ""}}) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(NormalizeNumber(c.number), c.normalized);
    }
}

TEST(RecipientNumberTest, TypedAndContactNumbers)
{
    auto typed = AddressForTypedNumber;
    auto contact = AddressForContactNumber;
    struct Case
    {
        decltype(typed) check;
        const char* number;
        const char* normalised;
        const char* rejection;
    };
    for (auto c : {Case{typed, "01711234567", "491711234567", ""},
                   Case{typed, "+491711234567", "491711234567", ""},
                   Case{typed, "00491711234567", "491711234567", ""},
                   Case{typed, "+01711234567", "01711234567", ""},
                   Case{typed, "+4917123", "4917123", ""},
                   Case{typed, "+491712", "", Invalid},
                   Case{typed, "00", "", Invalid},
                   Case{typed, "++491711234567", "", Invalid},
                   Case{typed, "0171 1234567", "", Invalid},
                   Case{typed, "0171-1234567", "", Invalid},
                   Case{typed, "491711234567", "", Invalid},
                   Case{typed, "0", "", Invalid},
                   Case{typed, "", "", Invalid},
                   Case{typed, "Max", "", Invalid},
                   Case{contact, "+49 171 1234567", "491711234567", ""},
                   Case{contact, "0171/1234567", "491711234567", ""},
                   Case{contact, "+49 (171) 123-4567", "491711234567", ""},
                   Case{contact, "0171.1234567", "491711234567", ""},
                   Case{contact, "0049 171 1234567", "491711234567", ""},
                   Case{contact, "491711234567", "", NoMobile},
                   Case{contact, "+49 171 1", "", NoMobile},
                   Case{contact, "", "", NoMobile},
                   Case{contact, "0", "", NoMobile},
                   Case{contact, "0171 1234567 privat", "", NoMobile},
                   Case{contact, "+49 171\r\nRCPT to:<x@y.de>", "", NoMobile},
                   Case{contact, "+49\t1711234567", "", NoMobile},
                   Case{contact, "0171@evil.example", "", NoMobile}}) {
        SCOPED_TRACE(std::string(c.check == typed ? "typed " : "contact ") + c.number);
        RecipientAddress result = c.check(c.number, Gateway);
        EXPECT_EQ(result.Number, c.normalised);
        EXPECT_EQ(result.Address, *c.normalised ? std::string(c.normalised) + "@sms.example" : "");
        EXPECT_EQ(result.Rejection, c.rejection);
    }
}

TEST(RecipientNumberTest, StoredMobileNumberForm)
{
    EXPECT_EQ(StoredMobileNumberForm("01711234567"), "+49 1711234567");
    EXPECT_EQ(StoredMobileNumberForm("+49 171 1234567"), "+49 1711234567");
    EXPECT_EQ(StoredMobileNumberForm("+4"), "+4");
    EXPECT_EQ(StoredMobileNumberForm(""), "+");
}
