#pragma once

#include "core/SmsText.h"

#include <string>

// The parts of the main window that a send reads and changes. Texts of the user's data are
// code-page text; status texts are UTF-8.
class SendWindow
{
public:
    virtual ~SendWindow() = default;

    // Replaces the status bar's text and shows it at once, while the send still blocks the window.
    virtual void ShowStatusText(const std::string& text) = 0;

    virtual std::string RecipientText() const = 0;
    virtual void SetRecipientText(const std::string& text) = 0;

    // The message as it stands, each line break as CR LF (the two characters the counters count).
    virtual std::string MessageText() const = 0;
    // Selects the characters of `part` in the message box (positions as in MessageText).
    virtual void SelectMessagePart(const SmsPartRange& part) = 0;
    // Empties the message box, which recomputes its counters.
    virtual void ClearMessage() = 0;

    // The label of the SMS sent this month.
    virtual void ShowSMSThisMonth(int count) = 0;

    // Shows the password prompt modally; its "OK" puts the typed text into the settings' password.
    virtual void ShowPasswordPrompt() = 0;
};
