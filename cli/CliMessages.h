#pragma once

#include <string>
#include <string_view>

// The fixed German texts of tickerpost-send, gathered in one place.
namespace CliMessages {

inline constexpr const char* Usage = "Aufruf: tickerpost-send [Optionen] EMPFÄNGER... [-m TEXT]";
inline constexpr const char* HelpHint = "„tickerpost-send --help“ zeigt alle Optionen.";
inline constexpr const char* Version = "tickerpost-send (Tickerpost) 2.0";
std::string Help();

inline constexpr const char* NoRecipient = "Kein Empfänger angegeben.";
std::string UnknownOption(std::string_view option);
std::string MissingValue(std::string_view option);
std::string UnexpectedValue(std::string_view option);

// Followed by the characters concerned, each once.
std::string UnmappableCharacters(std::string_view characters);

inline constexpr const char* TextNotRead = "Der Text konnte nicht von der Standardeingabe gelesen werden.";
inline constexpr const char* NoPassword =
    "Kein Passwort: user.ini enthält keines („nicht gespeichert“), TICKERPOST_PASSWORD ist nicht gesetzt "
    "und die Standardeingabe ist kein Terminal.";
inline constexpr const char* PasswordPrompt = "Passwort: ";
inline constexpr const char* NoPasswordEntered = "Kein Passwort eingegeben.";
inline constexpr const char* DryRunRecipient = "Empfänger: ";

} // namespace CliMessages
