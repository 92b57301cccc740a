#pragma once

// The fixed texts of the user interface that are not captions of a control: the application's
// title, the status and notice texts the windows show and the text of the info dialog.
namespace UiMessages {

inline constexpr const char* ApplicationTitle = "Tickerpost";

inline constexpr const char* CopyWithoutSelection = "Sie müssen erst den zu kopierenden Text makieren";
inline constexpr const char* Copied = "Der markiete Text wurde in die Ablage kopiert";
inline constexpr const char* CutWithoutSelection = "Sie müssen erst den auszuschneidenden Text makieren";
inline constexpr const char* CutDone = "Der markiete Text wurde in die Ablage verschoben";
inline constexpr const char* Pasted = "Der Text aus der Ablage wurde eingefügt";

inline constexpr const char* NewSms = "Neue SMS";
inline constexpr const char* SmsOpened = "SMS geöffnet";
inline constexpr const char* SmsSaved = "SMS gespeichert";

// Followed by the characters concerned.
inline constexpr const char* UnmappableCharacters =
    "Diese Zeichen kann der Zeichensatz des Systems nicht darstellen; sie werden durch \"?\" ersetzt: ";

// Followed by the folder's path.
inline constexpr const char* ArchiveFolderNotOpened =
    "Der Dateimanager kann diesen Archivordner nicht öffnen: ";

// The info dialog's fixed lines, then the folders of the files: one line when they share a folder,
// else one for the settings and one for the contacts and the archive, each followed by the path.
inline constexpr const char* InfoLines[] = {
    "Tickerpost Version 2.0",
    "",
    "bekannte Bugs:",
    "-öffnet man einen Kontakt und verändert sowohl ",
    "FullName als auch MobileTelephoneNumber so ",
    "wird der geänderte Kontakt nicht im ",
    "Adresseingabefeld angezeigt.",
};
inline constexpr const char* FilesFolder = "Dateien: ";
inline constexpr const char* SettingsFolder = "Einstellungen: ";
inline constexpr const char* DataFolder = "Kontakte und Archiv: ";

} // namespace UiMessages
