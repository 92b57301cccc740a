#include "runtime/RuntimeMessages.h"

#include "runtime/CodePage.h"

std::string NotAnIntegerMessage(std::string_view text)
{
    return "'" + CodePageToUtf8(text) + "' ist kein gültiger Integerwert";
}

std::string IniWriteRefusedMessage(const std::string& path)
{
    return "In " + path + " kann nicht geschrieben werden";
}

std::string InOutErrorMessage(int errorCode)
{
    switch (errorCode) {
    case 2:
        return "Datei nicht gefunden";
    case 3:
        return "Ungültiger Dateiname";
    case 4:
        return "Zu viele geöffnete Dateien";
    case 5:
        return "Dateizugriff verweigert";
    case 100:
        return "Versuch hinter dem Dateiende zu lesen";
    case 101:
        return "Zu wenig Speicherplatz";
    case 106:
        return "Ungültige numerische Eingabe";
    default:
        return "E/A-Fehler " + std::to_string(errorCode);
    }
}

std::string HomeFolderUnknownMessage()
{
    return "Der persönliche Ordner ist unbekannt: HOME ist nicht gesetzt";
}
