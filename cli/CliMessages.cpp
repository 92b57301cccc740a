#include "cli/CliMessages.h"

namespace CliMessages {

std::string Help()
{
    return std::string(Usage) +
           "\n"
           "Sendet eine SMS über das E-Mail-SMS-Gateway, das in den Einstellungen von Tickerpost steht,\n"
           "wie ein Klick auf „SMS Senden“: mit demselben Zähler, demselben Archiv und demselben "
           "Adressbuch.\n"
           "\n"
           "EMPFÄNGER ist eine Handynummer (+49…, 0049…, 0…) oder der volle Name eines Kontakts aus\n"
           "Kontakte.vcf. Mehrere Empfänger erhalten dieselbe SMS über eine Verbindung.\n"
           "Ohne -m wird der Text bis zu ihrem Ende von der Standardeingabe gelesen.\n"
           "\n"
           "  -m, --text=TEXT   der Text der SMS\n"
           "      --dir=ORDNER  der Ordner mit user.ini, Kontakte.vcf und Sent\n"
           "                    (ohne diese Option der Ordner des Fensterprogramms)\n"
           "      --dry-run     zeigt die Mails, die gesendet würden, und die Gateway-Adressen;\n"
           "                    verbindet sich mit nichts und ändert keine Datei\n"
           "      --verbose     zeigt das SMTP- und POP3-Gespräch auf der Standardfehlerausgabe\n"
           "                    (Passwörter als „********“)\n"
           "      --replace     ersetzt Zeichen, die der Zeichensatz nicht darstellen kann, durch „?“\n"
           "      --help        zeigt diese Hilfe\n"
           "      --version     zeigt die Version\n"
           "\n"
           "Das Passwort steht in user.ini; steht dort „nicht gespeichert“, kommt es aus der\n"
           "Umgebungsvariablen TICKERPOST_PASSWORD oder wird am Terminal ohne Echo abgefragt.\n"
           "\n"
           "Rückgabewerte: 0 an jeden Empfänger gesendet, 1 falscher Aufruf, 2 Empfänger abgelehnt,\n"
           "3 keine Verbindung, 4 vom Server abgelehnt, 5 Datei- oder Einstellungsfehler.\n";
}

std::string UnknownOption(std::string_view option)
{
    return "Unbekannte oder mehrdeutige Option: " + std::string(option);
}

std::string MissingValue(std::string_view option)
{
    return "Die Option " + std::string(option) + " braucht einen Wert.";
}

std::string UnexpectedValue(std::string_view option)
{
    return "Die Option " + std::string(option) + " nimmt keinen Wert.";
}

std::string UnmappableCharacters(std::string_view characters)
{
    return "Diese Zeichen kann der Zeichensatz des Systems nicht darstellen: " + std::string(characters) +
           " (mit --replace werden sie durch „?“ ersetzt).";
}

} // namespace CliMessages
