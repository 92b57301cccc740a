#include "core/ConnectionTest.h"

#include "core/CoreMessages.h"
#include "core/MailClientSetup.h"
#include "runtime/CodePage.h"
#include "runtime/Exception.h"

#include <vector>

namespace {

using ReportLines = std::vector<std::string>;

// Records the address each connection of `client` reaches and shows the status of a send's
// connection.
void ReportConnections(TIdTCPClient& client, ReportLines& report, const StatusDisplay& showStatus)
{
    client.OnConnected = [&client, &report, &showStatus](TIdComponent&) {
        report.push_back(ConnectedToLine(client.SocketHandle().PeerAddress(), client.Port()));
        showStatus(SmtpConnectedStatus);
    };
}

void ReportEncryption(const TIdTCPClient& client, ReportLines& report)
{
    const TIdTlsInfo* tls = client.TlsInfo();
    if (!tls) {
        report.push_back(UnencryptedLine);
        return;
    }
    report.push_back(TlsLine(tls->Version, tls->Cipher));
    report.push_back(CertificateSubjectLine(tls->Subject));
    report.push_back(CertificateIssuerLine(tls->Issuer));
}

// Runs the steps of one server on a client of its own, which reports its connection; a failure
// ends them with the text the error box of a send shows.
template <class Client, class Steps> ReportLines TestServer(const StatusDisplay& showStatus, Steps steps)
{
    ReportLines report;
    Client client;
    ReportConnections(client, report, showStatus);
    try {
        steps(client, report);
    } catch (const Exception& error) {
        report.push_back(ErrorLine(error.Message()));
    }
    return report;
}

ReportLines TestPop3(const TSettings& settings, const StatusDisplay& showStatus)
{
    return TestServer<TIdPOP3>(showStatus, [&](TIdPOP3& pop3, ReportLines& report) {
        SetUpPop3(pop3, settings);
        pop3.OpenConnection();
        ReportEncryption(pop3, report);
        report.push_back(LoggedInLine);
        pop3.CloseConnection();
    });
}

ReportLines TestSmtp(const TSettings& settings, const StatusDisplay& showStatus)
{
    return TestServer<TIdSMTP>(showStatus, [&](TIdSMTP& smtp, ReportLines& report) {
        SetUpSmtp(smtp, settings);
        // Over TLS, AUTH runs as a step of its own, so a refusal comes after the report of the TLS
        // reached; AUTH meant for a plain connection is refused by the greeting, as in a send.
        const bool authenticateAfterTls = settings.SMTPAuth && smtp.Security() != TIdSecurity::None;
        if (authenticateAfterTls) smtp.SetAuthenticationType(TAuthenticationType::atNone);
        smtp.OpenConnection();
        ReportEncryption(smtp, report);
        if (authenticateAfterTls) {
            smtp.SetAuthenticationType(TAuthenticationType::atAutoSelect);
            smtp.Authenticate();
            report.push_back(AuthMechanismLine(smtp.AuthMechanism()));
            report.push_back(LoggedInLine);
        } else {
            report.push_back(NoSmtpAuthLine);
        }
        smtp.CloseConnection();
    });
}

std::string Paragraph(const std::string& heading, const ReportLines& lines)
{
    std::string text = heading;
    for (const std::string& line : lines) text += "\n" + line;
    return text;
}

} // namespace

std::string TestConnection(const TSettings& settings, const StatusDisplay& showStatus)
{
    ReportLines pop3Report = {Pop3NotTestedLine};
    if (settings.Pop3First) {
        showStatus(TestingPop3Status);
        pop3Report = TestPop3(settings, showStatus);
    }
    showStatus(TestingSmtpStatus);
    const ReportLines smtpReport = TestSmtp(settings, showStatus);
    showStatus(ConnectionTestDoneStatus);
    return Paragraph(Pop3ServerHeading(CodePageToUtf8(settings.POP3Server)), pop3Report) + "\n\n" +
           Paragraph(SmtpServerHeading(CodePageToUtf8(settings.SMTPServer)), smtpReport);
}
