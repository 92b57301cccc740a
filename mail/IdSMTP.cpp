#include "mail/IdSMTP.h"

#include "mail/IdBase64.h"
#include "runtime/AsciiText.h"

#include <algorithm>

namespace {

constexpr int SmtpPort = 25;

} // namespace

TIdSMTP::TIdSMTP()
{
    SetPort(SmtpPort);
}

void TIdSMTP::OpenConnection()
{
    TIdMessageClient::OpenConnection();
    try {
        Greet();
    } catch (...) {
        CloseAfterFailure();
        throw;
    }
}

void TIdSMTP::Greet()
{
    ReadReply({220});
    authSchemes_.clear();
    if (SendCommand("ehlo " + LocalHostName(), AnyReply) == 250) {
        CollectAuthSchemes();
    } else {
        SendCommand("Helo " + LocalHostName(), 250);
    }
}

// RFC 4954 3: an "ehlo" reply line "250-AUTH LOGIN PLAIN" (or the older "250-AUTH=LOGIN") names
// the schemes; the first line holds the server's name and is skipped.
void TIdSMTP::CollectAuthSchemes()
{
    const std::vector<std::string>& lines = ReplyLines();
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string line = AsciiUpperCase(lines[i]);
        if (line.find("AUTH") != 4 || line.size() < 9 || (line[8] != ' ' && line[8] != '=')) continue;
        size_t pos = 9;
        while (pos < line.size()) {
            size_t end = std::min(line.find_first_of(" =", pos), line.size());
            std::string name = line.substr(pos, end - pos);
            if (!name.empty() &&
                std::find(authSchemes_.begin(), authSchemes_.end(), name) == authSchemes_.end())
                authSchemes_.push_back(name);
            pos = end + 1;
        }
    }
}

void TIdSMTP::CloseConnection()
{
    authenticated_ = false;
    if (IsConnected()) QuitAndRelease();
}

bool TIdSMTP::IsAuthSchemeAvailable(TAuthenticationType kind) const
{
    return kind == TAuthenticationType::atLogin &&
           std::find(authSchemes_.begin(), authSchemes_.end(), "LOGIN") != authSchemes_.end();
}

bool TIdSMTP::Authenticate()
{
    bool exchanged = false;
    if (authenticationType_ == TAuthenticationType::atLogin) {
        SendCommand("auth LOGIN", 334);
        SendCommand(EncodeBase64(UserId()), 334);
        SendCommand(EncodeBase64(Password()), 235);
        exchanged = true;
    }
    authenticated_ = true;
    return exchanged;
}

void TIdSMTP::Send(TIdMessage& message)
{
    SendCommand("Rset", AnyReply); // ends a transaction that a failed Send left open
    if (authenticationType_ != TAuthenticationType::atNone && IsAuthSchemeAvailable(authenticationType_) &&
        !authenticated_)
        Authenticate();
    SendCommand("Mail from:<" + message.From().Address() + ">", 250);
    for (const TIdEMailAddressList* list : {&message.Recipients(), &message.CCList(), &message.BccList()})
        for (const TIdEMailAddressItem& item : *list)
            SendCommand("RCPT to:<" + item.Address() + ">", {250, 251}); // 251: will forward (RFC 5321 4.2.2)
    SendCommand("Data", 354);
    message.ExtraHeaders().SetValue("X-Mailer", mailAgent_);
    WriteMessage(message);
    SendCommand(".", 250);
}
