#include "cli/SendCommand.h"

#include "addressbook/ContactDisplay.h"
#include "addressbook/ContactList.h"
#include "cli/CliMessages.h"
#include "cli/ConsoleSendWindow.h"
#include "cli/DialogueLog.h"
#include "cli/ExitStatus.h"
#include "cli/MessageText.h"
#include "cli/SendOptions.h"
#include "cli/Terminal.h"
#include "core/SendWorkflow.h"
#include "runtime/CodePage.h"
#include "runtime/ProgramFolder.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <iterator>

namespace {

// The contact form, which a send never shows.
class NoContactForm : public ContactDisplay
{
public:
    void ShowModal(TContactItem&) override {}
};

std::string ErrorText(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return ErrorBoxText(e.Message());
    } catch (const std::exception& e) {
        return e.what();
    }
}

// A message or an outcome on standard error: its CR LF line breaks as line breaks, or, in the
// one line of a recipient among several, as blanks.
void PrintMessage(const std::string& recipient, std::string text)
{
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, recipient.empty() ? "\n" : " ");
    std::cerr << (recipient.empty() ? "" : recipient + ": ") << text << '\n';
}

std::string CodePageText(const std::string& utf8)
{
    std::string unmappable;
    return Utf8ToCodePage(utf8, unmappable);
}

// The text to send in the code page, or nullopt after telling why it cannot be sent.
std::optional<std::string> MessageToSend(const SendOptions& options)
{
    std::string utf8;
    if (options.Text) {
        utf8 = *options.Text;
    } else {
        utf8.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            std::cerr << CliMessages::TextNotRead << '\n';
            return std::nullopt;
        }
        utf8 = WithoutTrailingLineBreak(std::move(utf8));
    }
    std::string unmappable;
    std::string text = MessageInCodePage(utf8, unmappable);
    if (!unmappable.empty() && !options.Replace) {
        std::cerr << CliMessages::UnmappableCharacters(unmappable) << '\n';
        return std::nullopt;
    }
    return text;
}

// One run of the command: the window's components, with the console in place of the window.
class CommandSend
{
public:
    CommandSend(const SendOptions& options, std::string message)
        : options_(options), files_(options.Folder ? FileLocations(*options.Folder + "/")
                                                   : LocateFiles(ProgramFolder(), CurrentXdgEnvironment())),
          addressBook_(ContactsFilePath(files_.DataFolder), contactForm_),
          window_(settings_, std::move(message), std::cerr, options.Verbose),
          workflow_({smtp_, pop3_, email_, settings_, addressBook_, clock_, files_}, window_)
    {
        for (const std::string& recipient : options.Recipients)
            recipients_.push_back(CodePageText(recipient));
    }

    ExitStatus Run()
    {
        LoadSettings(settings_, IniFile(SettingsFilePath(files_.SettingsFolder)), clock_);
        if (settings_.UseOutlookAdressbook) FillContactList(addressBook_, window_);
        if (options_.Verbose) {
            LogDialogue(smtp_, "SMTP", std::cerr);
            LogDialogue(pop3_, "POP3", std::cerr);
        }
        if (options_.DryRun) return DryRun();
        ProvidePassword();
        return Send();
    }

private:
    // "nicht gespeichert" in user.ini: the password from the environment, else the window's
    // prompt on a terminal; without a terminal nobody could answer it.
    void ProvidePassword()
    {
        if (settings_.LoginPassword != PasswordMarker) return;
        if (const char* password = std::getenv("TICKERPOST_PASSWORD"))
            settings_.LoginPassword = CodePageText(password);
        else if (!StandardInputIsTerminal())
            throw Exception(CliMessages::NoPassword);
    }

    ExitStatus Send()
    {
        std::vector<ExitStatus> statuses(recipients_.size(), ExitSent);
        workflow_.SendToEach(recipients_, [&](std::size_t i, const SendOutcome& outcome) {
            std::string text = window_.LastStatusText();
            if (!outcome.Refusal.empty()) {
                statuses[i] = ExitRecipientRefused;
                text = outcome.Refusal;
            } else if (outcome.Error) {
                statuses[i] = ExitStatusFor(outcome.Error);
                text = ErrorText(outcome.Error);
            } else if (!outcome.Recorded) {
                statuses[i] = ExitFileError;
            }
            PrintMessage(RecipientLabel(i), text);
        });
        return FirstFailure(statuses);
    }

    // The mails on standard output exactly as on the wire (CR LF), each recipient's after its
    // gateway address; refusals on standard error.
    ExitStatus DryRun()
    {
        std::vector<ExitStatus> statuses;
        const std::vector<PlannedSend> plans = workflow_.PlanSendToEach(recipients_);
        for (std::size_t i = 0; i < plans.size(); ++i) {
            const SendRecipient& recipient = plans[i].Recipient;
            statuses.push_back(recipient.Address.Accepted() ? ExitSent : ExitRecipientRefused);
            if (!recipient.Address.Accepted()) {
                PrintMessage(RecipientLabel(i), recipient.Address.Rejection);
                continue;
            }
            std::cout << CliMessages::DryRunRecipient << recipient.Address.Address << "\r\n";
            for (const std::vector<std::string>& mail : plans[i].Mails) {
                for (const std::string& line : mail) std::cout << line << "\r\n";
                std::cout << "\r\n";
            }
        }
        return FirstFailure(statuses);
    }

    // Outcome lines name the recipient when there are several.
    std::string RecipientLabel(std::size_t i) const
    {
        return options_.Recipients.size() > 1 ? options_.Recipients[i] : std::string();
    }

    static ExitStatus FirstFailure(const std::vector<ExitStatus>& statuses)
    {
        const auto failed =
            std::find_if(statuses.begin(), statuses.end(), [](ExitStatus s) { return s != ExitSent; });
        return failed == statuses.end() ? ExitSent : *failed;
    }

    const SendOptions& options_;
    FileLocations files_;
    std::vector<std::string> recipients_;
    SystemClock clock_;
    TSettings settings_;
    TIdSMTP smtp_;
    TIdPOP3 pop3_;
    TIdMessage email_{clock_};
    NoContactForm contactForm_;
    AddressBookLink addressBook_;
    ConsoleSendWindow window_;
    TSendWorkflow workflow_;
};

void PrintUsageError(const std::string& error)
{
    std::cerr << error << '\n' << CliMessages::Usage << '\n' << CliMessages::HelpHint << '\n';
}

} // namespace

int RunSendCommand(int argc, char* argv[])
{
    const ParsedOptions parsed = ParseSendOptions(argc, argv);
    if (!parsed.Error.empty()) {
        PrintUsageError(parsed.Error);
        return ExitUsage;
    }
    const SendOptions& options = parsed.Options;
    if (options.Help) {
        std::cout << CliMessages::Help();
        return ExitSent;
    }
    if (options.Version) {
        std::cout << CliMessages::Version << '\n';
        return ExitSent;
    }
    const std::optional<std::string> message = MessageToSend(options);
    if (!message) return ExitUsage;
    try {
        return CommandSend(options, *message).Run();
    } catch (const Exception&) {
        PrintMessage({}, ErrorText(std::current_exception()));
        return ExitStatusFor(std::current_exception());
    }
}
