#pragma once

#include <exception>
#include <string>

// Base of every error the program raises. The message is German, UTF-8 encoded, and is what the
// application-level error guard shows to the user. Texts of the user's data that a message quotes
// are converted from the code page to UTF-8 by whoever raises it.
class Exception : public std::exception
{
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// A text that must be an integer is not one.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// The text the error box shows for a message: a "." is added when the message's last byte sorts
// after "." (so "Fehler" becomes "Fehler.", while "Fehler." or "Fehler!" stay as they are).
std::string ErrorBoxText(const std::string& message);
