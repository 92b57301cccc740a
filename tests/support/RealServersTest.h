#pragma once

#include "tests/support/RealServers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// A test suite over `Fixture` that shares one plain SMTP server and one POP3 server for the account
// "ich" / "geheim", started before its first test and stopped after its last. A test calls
// MarkReceived in its SetUp; NewMessages then gives the messages that arrived since.
template <class Fixture = testing::Test> class RealServersTest : public Fixture
{
protected:
    static void SetUpTestSuite()
    {
        smtpServer = std::make_unique<RealSmtpServer>();
        pop3Server = std::make_unique<RealPop3Server>("ich", "geheim");
    }
    static void TearDownTestSuite()
    {
        smtpServer.reset();
        pop3Server.reset();
    }

    void MarkReceived() { alreadyReceived_ = smtpServer->Messages().size(); }

    // How many messages arrived since MarkReceived, without waiting.
    std::size_t ReceivedSinceMark() const { return smtpServer->Messages().size() - alreadyReceived_; }
    // The messages that arrived since MarkReceived, waiting for `count` of them.
    std::vector<std::string> NewMessages(std::size_t count) const
    {
        std::vector<std::string> all = smtpServer->WaitForMessages(alreadyReceived_ + count);
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(alreadyReceived_, all.size())), all.end()};
    }

    static inline std::unique_ptr<RealSmtpServer> smtpServer;
    static inline std::unique_ptr<RealPop3Server> pop3Server;

private:
    std::size_t alreadyReceived_ = 0;
};
