#include "cli/ConsoleSendWindow.h"

#include "cli/CliMessages.h"
#include "cli/Terminal.h"
#include "runtime/CodePage.h"
#include "runtime/Exception.h"

ConsoleSendWindow::ConsoleSendWindow(TSettings& settings, std::string message, std::ostream& log,
                                     bool verbose)
    : settings_(settings), message_(std::move(message)), log_(log), verbose_(verbose)
{
}

void ConsoleSendWindow::ShowStatusText(const std::string& text)
{
    lastStatus_ = text;
    if (verbose_) log_ << text << '\n';
}

void ConsoleSendWindow::ShowPasswordPrompt()
{
    const std::optional<std::string> typed = ReadLineWithoutEcho(CliMessages::PasswordPrompt);
    if (!typed) throw Exception(CliMessages::NoPasswordEntered);
    std::string unmappable;
    settings_.LoginPassword = Utf8ToCodePage(*typed, unmappable);
}
