#include "mail/IdSMTP.h"

#include "mail/IdBase64.h"
#include "mail/IdExceptions.h"
#include "mail/IdTlsErrors.h"
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
    if (authenticationType_ != TAuthenticationType::atNone && Security() == TIdSecurity::None)
        throw EIdAuthNeedsTls();
    authMechanism_.clear();
    TIdMessageClient::OpenConnection();
    try {
        Greet();
        if (authenticationType_ == TAuthenticationType::atAutoSelect) Authenticate();
    } catch (...) {
        CloseAfterFailure();
        throw;
    }
}

void TIdSMTP::Greet()
{
    ReadReply({220});
    if (Security() == TIdSecurity::StartTls) return StartTlsAfterEhlo();
    authSchemes_.clear();
    if (SendCommand("ehlo " + LocalHostName(), AnyReply) == 250) {
        CollectAuthSchemes();
    } else {
        SendCommand("Helo " + LocalHostName(), 250);
    }
}

void TIdSMTP::Ehlo()
{
    authSchemes_.clear();
    SendCommand("ehlo " + LocalHostName(), 250);
    CollectAuthSchemes();
}

// RFC 3207: the capabilities of the plain greeting are forgotten, the "ehlo" over TLS counts.
void TIdSMTP::StartTlsAfterEhlo()
{
    Ehlo();
    if (!Lists("STARTTLS")) throw EIdTlsError::StartTlsNotOffered(Host());
    SendCommand("STARTTLS", 220);
    StartTls(Host(), CertificatePin());
    Ehlo();
}

// A line of the "ehlo" reply after the first that names the capability alone.
bool TIdSMTP::Lists(const std::string& capability) const
{
    const std::vector<std::string>& lines = ReplyLines();
    return std::any_of(lines.begin() + (lines.empty() ? 0 : 1), lines.end(), [&](const std::string& line) {
        return line.size() > 4 &&
               EqualsIgnoreCase(Trim(std::string_view(line).substr(4), IsSpaceOrBelow), capability);
    });
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

bool TIdSMTP::HasAuthScheme(const std::string& name) const
{
    return std::find(authSchemes_.begin(), authSchemes_.end(), name) != authSchemes_.end();
}

bool TIdSMTP::IsAuthSchemeAvailable(TAuthenticationType kind) const
{
    if (kind == TAuthenticationType::atAutoSelect) return HasAuthScheme("PLAIN") || HasAuthScheme("LOGIN");
    return kind == TAuthenticationType::atLogin && HasAuthScheme("LOGIN");
}

bool TIdSMTP::Authenticate()
{
    if (authenticationType_ == TAuthenticationType::atNone) {
        authenticated_ = true;
        return false;
    }
    if (!SocketHandle().TlsActive()) throw EIdAuthNeedsTls();
    if (authenticationType_ == TAuthenticationType::atLogin ||
        (!HasAuthScheme("PLAIN") && HasAuthScheme("LOGIN"))) {
        AuthLogin();
    } else if (HasAuthScheme("PLAIN")) {
        SendCommand("AUTH PLAIN " + EncodeBase64(std::string(1, '\0') + UserId() + '\0' + Password()), 235);
        authMechanism_ = "PLAIN";
    } else {
        throw EIdAuthNotOffered(Host());
    }
    authenticated_ = true;
    return true;
}

void TIdSMTP::AuthLogin()
{
    SendCommand("auth LOGIN", 334);
    SendCommand(EncodeBase64(UserId()), 334);
    SendCommand(EncodeBase64(Password()), 235);
    authMechanism_ = "LOGIN";
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
