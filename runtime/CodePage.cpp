#include "runtime/CodePage.h"

#include "runtime/AsciiText.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <memory>
#include <stdexcept>

namespace {

// Windows-1252 bytes 0x80..0x9F; the five bytes that the code page leaves undefined map to the C1
// control of the same number, as Windows does, so every byte survives a round trip.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int Cp1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (size_t i = 0; i < Cp1252High.size(); ++i)
        if (Cp1252High[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

const char* IconvName(CodePage codePage)
{
    switch (codePage) {
    case CodePage::ShiftJis932:
        return "CP932";
    case CodePage::Gbk936:
        return "CP936";
    case CodePage::Uhc949:
        return "CP949";
    case CodePage::Big5950:
        return "CP950";
    case CodePage::Windows1252:
        break;
    }
    return "CP1252";
}

struct IconvCloser
{
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using Iconv = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

Iconv OpenIconv(const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv: ") + from);
    return Iconv(cd);
}

// Converts `in` with `cd`; each input unit that cannot be converted (`skip` bytes long, or one
// byte when `skip` is 0) is handed to `onFailure`, which writes a replacement.
template <typename OnFailure> std::string Convert(iconv_t cd, std::string_view in, OnFailure onFailure)
{
    std::string out;
    std::string buffer(4 * in.size() + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer.data();
        size_t dstLeft = buffer.size();
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer.data(), dst - buffer.data());
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            size_t consumed = onFailure(std::string_view(src, srcLeft), out);
            src += consumed;
            srcLeft -= consumed;
        }
    }
    return out;
}

} // namespace

LocaleLanguage LocaleLanguageFromName(std::string_view name)
{
    auto sep = name.find_first_of("_.@");
    std::string_view lang = name.substr(0, sep);
    std::string_view territory;
    if (sep != std::string_view::npos && name[sep] == '_')
        territory = name.substr(sep + 1, name.find_first_of(".@", sep + 1) - sep - 1);
    if (lang == "zh") {
        if (territory == "TW") return {LangChinese, SubLangChineseTraditional};
        if (territory == "HK") return {LangChinese, SubLangChineseHongKong};
        if (territory == "MO") return {LangChinese, SubLangChineseMacau};
        if (territory == "SG") return {LangChinese, SubLangChineseSingapore};
        return {LangChinese, SubLangChineseSimplified};
    }
    if (lang == "ja") return {LangJapanese, 1};
    if (lang == "ko") return {LangKorean, 1};
    if (lang == "de") return {LangGerman, 1};
    if (lang == "en") return {LangEnglish, 1};
    return {};
}

LocaleLanguage SystemLanguage()
{
    static const LocaleLanguage language = [] {
        for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            const char* value = std::getenv(variable);
            if (value && *value) return LocaleLanguageFromName(value);
        }
        return LocaleLanguage{};
    }();
    return language;
}

CodePage CodePageForLanguage(LocaleLanguage language)
{
    switch (language.Primary) {
    case LangJapanese:
        return CodePage::ShiftJis932;
    case LangKorean:
        return CodePage::Uhc949;
    case LangChinese:
        return language.Sub == SubLangChineseSimplified || language.Sub == SubLangChineseSingapore
                   ? CodePage::Gbk936
                   : CodePage::Big5950;
    default:
        return CodePage::Windows1252;
    }
}

CodePage SystemCodePage()
{
    static const CodePage codePage = CodePageForLanguage(SystemLanguage());
    return codePage;
}

bool IsLeadByte(unsigned char byte, CodePage codePage)
{
    switch (codePage) {
    case CodePage::Windows1252:
        return false;
    case CodePage::ShiftJis932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    default:
        return byte >= 0x81 && byte <= 0xFE;
    }
}

std::string CodePageToUtf8(std::string_view text, CodePage codePage)
{
    std::string out;
    if (codePage == CodePage::Windows1252) {
        out.reserve(text.size() + text.size() / 4);
        for (unsigned char b : text)
            AppendUtf8(out, b >= 0x80 && b < 0xA0 ? char32_t{Cp1252High[b - 0x80]} : char32_t{b});
        return out;
    }
    Iconv cd = OpenIconv("UTF-8", IconvName(codePage));
    return Convert(cd.get(), text, [&](std::string_view rest, std::string& converted) -> size_t {
        AppendUtf8(converted, 0xFFFD);
        return IsLeadByte(rest[0], codePage) && rest.size() > 1 ? 2 : 1;
    });
}

std::string Utf8ToCodePage(std::string_view utf8, std::string& unmappable, CodePage codePage)
{
    if (codePage == CodePage::Windows1252) {
        std::string out;
        out.reserve(utf8.size());
        for (size_t pos = 0; pos < utf8.size();) {
            size_t start = pos;
            int byte = Cp1252Byte(NextUtf8(utf8, pos));
            if (byte < 0) {
                unmappable.append(utf8.substr(start, pos - start));
                byte = '?';
            }
            out += static_cast<char>(byte);
        }
        return out;
    }
    Iconv cd = OpenIconv(IconvName(codePage), "UTF-8");
    return Convert(cd.get(), utf8, [&](std::string_view rest, std::string& converted) -> size_t {
        size_t pos = 0;
        NextUtf8(rest, pos);
        unmappable.append(rest.substr(0, pos));
        converted += '?';
        return pos;
    });
}

std::optional<std::string> NamedCharsetToUtf8(std::string_view bytes, const std::string& charset)
{
    iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    Iconv owner(cd);
    bool valid = true;
    std::string out = Convert(cd, bytes, [&valid](std::string_view rest, std::string&) -> size_t {
        valid = false;
        return rest.size();
    });
    if (!valid) return std::nullopt;
    return out;
}
