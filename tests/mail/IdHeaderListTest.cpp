#include "mail/IdHeaderList.h"
#include "mail/IdHeaderCoder.h"
#include "tests/mail/MailTestText.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

const TMailCharset Latin1{TransferKind::transferEightBit, 'Q', "ISO-8859-1"};

Lines SubjectLines(std::string_view subject)
{
    TIdHeaderList header;
    header.SetValue("Subject", EncodeHeaderText(subject, TByteSet(), Latin1));
    return header.Lines();
}

std::string Repeat(std::string_view text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

} // namespace

TEST(IdHeaderListTest, SubjectLinesAreEncodedAndFolded)
{
    const std::string q = "=?ISO-8859-1?Q?";
    struct Case
    {
        const char* label;
        std::string subject;
        Lines expected;
    };
    const Case cases[] = {
        {"plain ASCII stays", "SMS: Hallo Welt", {"Subject: SMS: Hallo Welt"}},
        {"long plain text breaks at the last space before column 79",
         "Heute Abend gibt es Nudeln mit Tomatensauce, bitte bring noch Brot und Salat mit nach Hause",
         {"Subject: Heute Abend gibt es Nudeln mit Tomatensauce, bitte bring noch Brot",
          " und Salat mit nach Hause"}},
        {"neighbouring umlaut words share one encoded word",
         Cp("SMS: Schöne Grüße aus München"),
         {"Subject: SMS: " + q + "Sch=F6ne_Gr=FC=DFe?= aus", " " + q + "M=FCnchen?="}},
        {"specials are quoted only inside encoded words",
         Cp("a_b=c?d ä_b=c?d"),
         {"Subject: a_b=c?d " + q + "=E4=5Fb=3Dc=3Fd?="}},
        {"sixty umlauts give four encoded words of at most 75 characters",
         Cp(Repeat("ä", 60)),
         {"Subject:", " " + q + Repeat("=E4", 19) + "?=", "\t" + q + Repeat("=E4", 19) + "?=",
          "\t" + q + Repeat("=E4", 19) + "?=", "\t" + q + Repeat("=E4", 3) + "?="}},
        {"trailing spaces stay outside and are trimmed", Cp("Grüße   "), {"Subject: " + q + "Gr=FC=DFe?="}},
        {"a line break is encoded, never copied",
         Cp("Hallo\r\nWelt"),
         {"Subject: " + q + "Hallo=0D=0AWelt?="}},
        {"a dot line cannot end the data",
         "x\r\n.\r\nRCPT to:<a@b.de>",
         {"Subject: " + q + "x=0D=0A.=0D=0ARCPT?= to:<a@b.de>"}},
        {"a bare LF is encoded", "a\nb c", {"Subject: " + q + "a=0Ab?= c"}},
        {"an unclosed double quote stops folding",
         "\"" + Repeat("wort ", 20),
         {"Subject: \"" + Repeat("wort ", 19) + "wort"}},
        {"a text that reads as an encoded word is encoded",
         "=?ISO-8859-1?Q?x?=",
         {"Subject: " + q + "=3D=3FISO-8859-1=3FQ=3Fx=3F=3D?="}},
        {"a character ISO-8859-1 lacks makes the words UTF-8",
         Cp("Preis: 5 €, „Angebot“"),
         {"Subject: Preis: 5 =?UTF-8?Q?=E2=82=AC,_=E2=80=9EAngebot=E2=80=9C?="}},
        {"a break with one byte behind it is not made",
         Repeat("a", 67) + " bc",
         {"Subject: " + Repeat("a", 67) + " bc"}},
        {"a break with two bytes behind it is made",
         Repeat("a", 67) + " bcd",
         {"Subject: " + Repeat("a", 67), " bcd"}},
        {"blanks behind the break go uncounted to the next line",
         Repeat("a", 68) + "   bcd",
         {"Subject: " + Repeat("a", 68), "   bcd"}},
        {"a value without blanks is only cut after the name",
         Repeat("x", 90),
         {"Subject:", " " + Repeat("x", 90)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(SubjectLines(c.subject), c.expected);
    }
}

TEST(IdHeaderListTest, SetValueReplacesInPlaceAndRemovesWithContinuations)
{
    TIdHeaderList header;
    header.SetValue("From", "a@b.de");
    header.SetValue("Subject", Cp(std::string(60, 'x') + " " + std::string(30, 'y')));
    header.SetValue("To", "c@d.de");
    ASSERT_EQ(header.Count(), 4);

    header.SetValue("subject", "kurz");
    EXPECT_EQ(header.Lines(), Lines({"From: a@b.de", "subject: kurz", "To: c@d.de"}));

    header.SetValue("Subject", std::string(60, 'x') + " " + std::string(30, 'y'));
    header.SetValue("SUBJECT", "");
    EXPECT_EQ(header.Lines(), Lines({"From: a@b.de", "To: c@d.de"}));

    header.SetValue("Cc", "");
    EXPECT_EQ(header.Count(), 2);
}

TEST(IdHeaderListTest, IndexOfNameAndGetValue)
{
    TIdHeaderList header;
    header.Add("x-mailer: Post");
    header.Add("Subject: eins");
    header.Add(" zwei");
    header.Add("\tdrei");
    header.Add("ohne Doppelpunkt");
    EXPECT_EQ(header.IndexOfName("X-Mailer"), 0);
    EXPECT_EQ(header.IndexOfName("Date"), -1);
    EXPECT_EQ(header.IndexOfName(" zwei"), -1);
    EXPECT_EQ(header.GetValue("X-MAILER"), "Post");
    EXPECT_EQ(header.GetValue("Subject"), "eins zwei drei");
    EXPECT_EQ(header.GetValue("Date"), "");
}

TEST(IdHeaderListTest, ValueLineBreaksNeverStartALineOfTheirOwn)
{
    struct Case
    {
        const char* label;
        std::string value;
        Lines expected;
    };
    const Case cases[] = {
        {"CR LF becomes blanks", "a@b.de\r\nBcc: c@d.de", {"X-Test: a@b.de  Bcc: c@d.de"}},
        {"a dot line becomes blanks", "a\r\n.\r\nQuit", {"X-Test: a  .  Quit"}},
        {"bare CR and LF", "a\rb\nc", {"X-Test: a b c"}},
        {"CR LF SP is not a fold of ours", "a\r\n b", {"X-Test: a   b"}},
        {"the encoder's own fold stays", "a\r\n\tb", {"X-Test: a", "\tb"}},
        {"NUL and other controls become blanks",
         std::string("a\0b\x01"
                     "c\x7F"
                     "d",
                     7),
         {"X-Test: a b c d"}},
        {"blank folds leave no empty line", "a\r\n\t\r\n\t b", {"X-Test: a", "\t b"}},
        {"a value without blanks is cut at 998 octets",
         Repeat("x", 1500),
         {"X-Test:", " " + Repeat("x", 997), " " + Repeat("x", 503)}},
        {"a quoted stretch is cut at its last blank within 998 octets",
         "\"" + Repeat("wort ", 300),
         {"X-Test: \"" + Repeat("wort ", 197) + "wort", " " + Repeat("wort ", 101) + "wort"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TIdHeaderList header;
        header.SetValue("X-Test", c.value);
        EXPECT_EQ(header.Lines(), c.expected);
    }
}
