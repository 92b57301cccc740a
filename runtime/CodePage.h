#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The system code page: the 8-bit (or double-byte) encoding in which the core holds every text of
// the user's data and writes its files. It follows the locale's language, as on the systems the
// program's files come from.
enum class CodePage { Windows1252 = 1252, ShiftJis932 = 932, Gbk936 = 936, Uhc949 = 949, Big5950 = 950 };

// The locale's language as Windows language identifiers (primary language, sub-language).
struct LocaleLanguage
{
    uint16_t Primary = 0;
    uint16_t Sub = 0;
};

inline constexpr uint16_t LangChinese = 0x04;
inline constexpr uint16_t LangGerman = 0x07;
inline constexpr uint16_t LangEnglish = 0x09;
inline constexpr uint16_t LangJapanese = 0x11;
inline constexpr uint16_t LangKorean = 0x12;
inline constexpr uint16_t SubLangChineseTraditional = 0x01;
inline constexpr uint16_t SubLangChineseSimplified = 0x02;
inline constexpr uint16_t SubLangChineseHongKong = 0x03;
inline constexpr uint16_t SubLangChineseSingapore = 0x04;
inline constexpr uint16_t SubLangChineseMacau = 0x05;

// The language of a POSIX locale name such as "de_DE.UTF-8" or "zh_TW"; "C", "POSIX" and unknown
// languages give primary language 0.
LocaleLanguage LocaleLanguageFromName(std::string_view localeName);

// The language of the process's locale (LC_ALL, LC_CTYPE, LANG: the first that is set), read once.
LocaleLanguage SystemLanguage();

CodePage CodePageForLanguage(LocaleLanguage language);
CodePage SystemCodePage();

// True when `byte` starts a double-byte character in `codePage`.
bool IsLeadByte(unsigned char byte, CodePage codePage = SystemCodePage());

// Code-page text to UTF-8. Every byte sequence converts; an invalid double-byte pair becomes U+FFFD.
std::string CodePageToUtf8(std::string_view text, CodePage codePage = SystemCodePage());

// UTF-8 to code-page text. A character the code page cannot hold becomes "?" and is appended
// (as UTF-8) to `unmappable`, so that the caller can tell the user; nothing vanishes silently.
std::string Utf8ToCodePage(std::string_view utf8, std::string& unmappable,
                           CodePage codePage = SystemCodePage());

// Bytes in the charset of that name (any name iconv knows, such as "ISO-8859-1" or "UTF-16") as
// UTF-8; nullopt when the charset is unknown or the bytes are not valid in it.
std::optional<std::string> NamedCharsetToUtf8(std::string_view bytes, const std::string& charset);
