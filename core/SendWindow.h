#pragma once

#include "core/SmsText.h"

#include <string>

// The recipient box's and the message box's texts as one click sends them (code-page text; each
// line break of the message as CR LF, the two characters the counters count).
struct SendTexts
{
    std::string Recipient;
    std::string Message;
};

// The parts of the main window that a send reads and changes. Texts of the user's data are
// code-page text; status texts are UTF-8.
class SendWindow
{
public:
    virtual ~SendWindow() = default;

    // Replaces the status bar's text and shows it at once, while the send still blocks the window.
    virtual void ShowStatusText(const std::string& text) = 0;

    // Read once at the start of a click, before anything connects. Characters of the message that
    // the code page cannot hold are reported to the user there, once; the recipient text is only
    // checked and looked up, never sent, and is converted without a notice.
    virtual SendTexts TextsToSend() const = 0;
    virtual void SetRecipientText(const std::string& text) = 0;

    // Selects the characters of `part` in the message box (positions as in SendTexts::Message).
    virtual void SelectMessagePart(const SmsPartRange& part) = 0;
    // Empties the message box, which recomputes its counters.
    virtual void ClearMessage() = 0;

    // The label of the SMS sent this month.
    virtual void ShowSMSThisMonth(int count) = 0;

    // Shows the password prompt modally; its "OK" puts the typed text into the settings' password.
    virtual void ShowPasswordPrompt() = 0;
};
