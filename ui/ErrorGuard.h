#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <string>

#include "runtime/Exception.h"

// Where the message boxes of the program go. By default a modal message box with the application's
// title; tests install a sink that records the texts instead.
enum class MessageKind { Error, Notice, Information };
using MessageSink = std::function<void(MessageKind kind, const QString& text)>;

// Installs `sink` and returns the one it replaces; an empty sink restores the message box.
MessageSink SetMessageSink(MessageSink sink);

// Shows a German UTF-8 error message in the error box, with a "." added by the ErrorBoxText rule.
void ShowErrorMessage(const std::string& message);

// Shows a German UTF-8 notice (a warning that does not end anything).
void ShowNotice(const QString& text);

// Shows a German UTF-8 report that the user asked for (no warning).
void ShowInformation(const QString& text);

// Runs a handler and shows any error it raises in the error box; the program then goes on. Qt
// does not let exceptions pass through its event loop, so every slot runs through this guard.
template <class F> void Guarded(F&& handler)
{
    try {
        std::forward<F>(handler)();
    } catch (const Exception& error) {
        ShowErrorMessage(error.Message());
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
    }
}
