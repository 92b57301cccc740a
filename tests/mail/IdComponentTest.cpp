#include "mail/IdComponent.h"
#include "mail/IdStack.h"
#include "tests/mail/support/EventLog.h"

#include <gtest/gtest.h>

TEST(IdComponentTest, OnlyTheOutermostBracketFiresAndWorkIsARunningTotal)
{
    TIdComponent component;
    EventLog log(component);
    component.ReportProgress(workWriting, 10); // outside any bracket
    component.BeginProgress(workWriting, 5);
    component.BeginProgress(workWriting, 9);
    component.ReportProgress(workWriting, 3);
    component.ReportProgress(workReading, 2); // no reading bracket is open
    component.EndProgress(workWriting);
    component.ReportProgress(workWriting, 4);
    component.EndProgress(workWriting);
    component.ReportProgress(workWriting, 1);
    EXPECT_EQ(log.events, (std::vector<std::string>{"begin 1 5", "work 1 3", "work 1 7", "end 1"}));
}

TEST(IdComponentTest, ModesHaveTheirOwnBrackets)
{
    TIdComponent component;
    EventLog log(component);
    component.BeginProgress(workWriting);
    component.BeginProgress(workReading, 2);
    component.ReportProgress(workReading, 2);
    component.EndProgress(workReading);
    component.ReportProgress(workWriting, 6);
    component.EndProgress(workWriting);
    component.BeginProgress(workWriting);
    component.ReportProgress(workWriting, 1);
    component.EndProgress(workWriting);
    EXPECT_EQ(log.events, (std::vector<std::string>{"begin 1 0", "begin 0 2", "work 0 2", "end 0", "work 1 6",
                                                    "end 1", "begin 1 0", "work 1 1", "end 1"}));
}

TEST(IdComponentTest, StatusTexts)
{
    TIdComponent component;
    EventLog log(component);
    component.ReportStatus(statusResolving, "m\xFC"
                                            "ll.example");
    component.ReportStatus(statusConnecting, "127.0.0.1");
    component.ReportStatus(statusConnected, "127.0.0.1");
    component.ReportStatus(statusDisconnecting, "127.0.0.1");
    component.ReportStatus(statusDisconnected);
    component.ReportStatus(statusText, "Text wird codiert");
    EXPECT_EQ(log.events, (std::vector<std::string>{"0 Host-Name müll.example wird aufgelöst.",
                                                    "1 Verbinden mit 127.0.0.1.", "2 Verbunden.",
                                                    "3 Verbindung zu 127.0.0.1 wird getrennt.",
                                                    "4 Nicht verbunden.", "5 Text wird codiert"}));
    TIdComponent silent;
    silent.ReportStatus(statusText, "without a handler nothing happens");
}

TEST(IdComponentTest, SocketLayerLivesWithTheComponents)
{
    ASSERT_FALSE(SocketLayerStarted());
    {
        TIdComponent first;
        EXPECT_TRUE(SocketLayerStarted());
        EXPECT_FALSE(first.LocalHostName().empty());
        {
            TIdComponent second;
        }
        EXPECT_TRUE(SocketLayerStarted());
    }
    EXPECT_FALSE(SocketLayerStarted());
}
