#include "mail/IdExceptions.h"
#include "mail/IdStackPosix.h"
#include "mail/MailMessages.h"
#include "tests/mail/support/ExpectThrowMessage.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <netdb.h>

namespace {

// A stack whose name lookup is scripted and counted; the other platform calls are never used here.
class LookupStack : public TIdStackPosix
{
public:
    bool HostByName(const std::string& name, std::vector<std::string>& addresses) override
    {
        lookups.push_back(name);
        if (fail) return false;
        addresses = {"2001:db8::7", "10.0.0.7"};
        return true;
    }
    int LastError() override { return 11001; }

    std::vector<std::string> lookups;
    bool fail = false;
};

} // namespace

TEST(IdStackTest, SocketErrorTextHasNumberLineBreakAndText)
{
    struct Case
    {
        int number;
        const char* text;
    };
    for (auto c : {Case{10061, "Socket-Fehler # 10061\r\nVerbindung abgelehnt."},
                   Case{10060, "Socket-Fehler # 10060\r\nZeitüberschreitung bei Verbindung."},
                   Case{10054, "Socket-Fehler # 10054\r\nDie Verbindung wurde von Peer zurückgesetzt."},
                   Case{10035, "Socket-Fehler # 10035\r\nDie Operation würde blockieren. "},
                   Case{10066, "Socket-Fehler # 10066\r\nVerzeichnis ist nicht leer"},
                   Case{11001, "Socket-Fehler # 11001\r\n"}, Case{0, "Socket-Fehler # 0\r\n"}}) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(MailMessages::SocketErrorText(c.number), c.text);
        EXPECT_EQ(EIdSocketError(c.number).Message(), c.text);
        EXPECT_EQ(EIdSocketError(c.number).ErrorNumber(), c.number);
    }
}

TEST(IdStackTest, DottedQuadNeedsFourNumbersUpTo255)
{
    struct Case
    {
        const char* text;
        bool dotted;
    };
    for (auto c :
         {Case{"127.0.0.1", true}, Case{"0.0.0.0", true}, Case{"255.255.255.255", true},
          Case{"010.1.1.1", true}, Case{"1.2.3.256", false}, Case{"1.2.3", false}, Case{"1.2.3.4.5", false},
          Case{"1.2.3.", false}, Case{"1..2.3", false}, Case{"a.b.c.d", false}, Case{"1.2.3.-4", false},
          Case{"", false}, Case{"mail.example", false}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TIdStack::IsDottedQuad(c.text), c.dotted);
    }
}

TEST(IdStackTest, PlatformLookupGivesAddressLiteralsInTheirShortForm)
{
    TIdStackPosix stack;
    EXPECT_EQ(stack.LookupHost("::1"), (std::vector<std::string>{"::1"}));
    EXPECT_EQ(stack.LookupHost("0:0::0:1"), (std::vector<std::string>{"::1"}));
    EXPECT_FALSE(TIdStack::NeedsNameLookup("::1"));
    EXPECT_EQ(TIdStack::VersionOf("::1"), TIdIPVersion::IPv6);
    EXPECT_EQ(TIdStack::VersionOf("127.0.0.1"), TIdIPVersion::IPv4);
}

TEST(IdStackTest, LookupHostAnswersLocalhostAndDottedQuadsItself)
{
    LookupStack stack;
    using Addresses = std::vector<std::string>;
    EXPECT_EQ(stack.LookupHost("localhost"), Addresses{"127.0.0.1"});
    EXPECT_EQ(stack.LookupHost("LocalHost"), Addresses{"127.0.0.1"});
    EXPECT_EQ(stack.LookupHost("LOCALHOST"), Addresses{"127.0.0.1"});
    EXPECT_EQ(stack.LookupHost("127.0.0.5"), Addresses{"127.0.0.5"});
    EXPECT_TRUE(stack.lookups.empty());

    const Addresses all = {"2001:db8::7", "10.0.0.7"}; // every address, in the lookup's order
    EXPECT_EQ(stack.LookupHost("127.0.0.256"), all);
    EXPECT_EQ(stack.LookupHost("mail.example"), all);
    EXPECT_EQ(stack.lookups, (std::vector<std::string>{"127.0.0.256", "mail.example"}));
}

TEST(IdStackTest, FailedLookupRaisesSocketErrorWithoutText)
{
    LookupStack stack;
    stack.fail = true;
    const auto error = ThrownBy<EIdSocketError>([&] { stack.LookupHost("nowhere.example"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->ErrorNumber(), 11001);
    EXPECT_EQ(error->Message(), "Socket-Fehler # 11001\r\n");
}

TEST(IdStackTest, CheckSocketResultToleratesListedErrorsOnly)
{
    LookupStack stack; // its last error is 11001
    EXPECT_FALSE(stack.CheckSocketResult(0));
    EXPECT_FALSE(stack.CheckSocketResult(5));
    EXPECT_TRUE(stack.CheckSocketResult(-1, {10058, 11001}));
    EXPECT_THROW(stack.CheckSocketResult(-1, {10058}), EIdSocketError);
}

TEST(IdStackTest, PosixErrorsMapToWindowsSocketsNumbersOfTheSameName)
{
    struct Case
    {
        const char* label;
        int errnoValue;
        int winsock;
    };
    for (auto c :
         {Case{"ECONNREFUSED", ECONNREFUSED, 10061}, Case{"ETIMEDOUT", ETIMEDOUT, 10060},
          Case{"ENETUNREACH", ENETUNREACH, 10051}, Case{"ECONNRESET", ECONNRESET, 10054},
          Case{"EHOSTUNREACH", EHOSTUNREACH, 10065}, Case{"EADDRINUSE", EADDRINUSE, 10048},
          Case{"ESHUTDOWN", ESHUTDOWN, 10058}, Case{"EPIPE", EPIPE, 10058}, Case{"EINTR", EINTR, 10004},
          Case{"ENOTEMPTY", ENOTEMPTY, 10066}, Case{"EPROTO (no such name)", EPROTO, EPROTO}}) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(WinsockErrorFromErrno(c.errnoValue), c.winsock);
    }
}

TEST(IdStackTest, LookupFailuresMapTo11001To11004)
{
    struct Case
    {
        const char* label;
        int lookupError;
        int winsock;
    };
    for (auto c : {Case{"no such name", EAI_NONAME, 11001}, Case{"try again", EAI_AGAIN, 11002},
                   Case{"failure", EAI_FAIL, 11003}, Case{"no address", EAI_NODATA, 11004}}) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(WinsockErrorFromLookup(c.lookupError, 0), c.winsock);
    }
    EXPECT_EQ(WinsockErrorFromLookup(EAI_SYSTEM, ECONNREFUSED), 10061);
}
