#include "core/MailClientSetup.h"

#include "core/ConnectionSettings.h"

namespace {

// The client's side of the record's connection keys, refused first when unusable.
void SetUpConnection(TIdTCPClient& client, const TSettings& settings, const ServerConnectionKeys& keys,
                     const std::string& host, const std::string& certificatePin)
{
    CheckConnectionKeys(settings, keys);
    client.SetHost(host);
    client.SetPort(settings.*keys.Port);
    client.SetSecurity(static_cast<TIdSecurity>(settings.*keys.Security));
    client.SetCertificatePin(certificatePin);
}

} // namespace

bool UsesPassword(const TSettings& settings)
{
    return settings.Pop3First || settings.SMTPAuth;
}

void CheckConnectionKeysOfSend(const TSettings& settings)
{
    CheckConnectionKeys(settings, SmtpConnectionKeys);
    if (settings.Pop3First) CheckConnectionKeys(settings, Pop3ConnectionKeys);
}

void SetUpSmtp(TIdSMTP& smtp, const TSettings& settings)
{
    SetUpConnection(smtp, settings, SmtpConnectionKeys, settings.SMTPServer, settings.SMTPCertificateSHA256);
    smtp.SetUserId(settings.LoginName);
    smtp.SetPassword(settings.LoginPassword);
    smtp.SetAuthenticationType(settings.SMTPAuth ? TAuthenticationType::atAutoSelect
                                                 : TAuthenticationType::atNone);
}

void SetUpPop3(TIdPOP3& pop3, const TSettings& settings)
{
    SetUpConnection(pop3, settings, Pop3ConnectionKeys, settings.POP3Server, settings.POP3CertificateSHA256);
    pop3.SetUserId(settings.LoginName);
    pop3.SetPassword(settings.LoginPassword);
}
