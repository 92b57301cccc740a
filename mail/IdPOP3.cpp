#include "mail/IdPOP3.h"

namespace {

constexpr int Pop3Port = 110;

} // namespace

TIdPOP3::TIdPOP3()
{
    SetPort(Pop3Port);
}

void TIdPOP3::OpenConnection()
{
    TIdMessageClient::OpenConnection();
    try {
        ReadReply({PositiveReply});
        if (Security() == TIdSecurity::StartTls) {
            SendCommand("STLS", PositiveReply);
            StartTls(Host(), CertificatePin());
        }
        SendCommand("USER " + UserId(), PositiveReply);
        SendCommand("PASS " + Password(), PositiveReply);
    } catch (...) {
        CloseAfterFailure();
        throw;
    }
}

void TIdPOP3::CloseConnection()
{
    QuitAndRelease();
}
