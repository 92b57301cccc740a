#include "ui/TextBorder.h"

#include "runtime/CodePage.h"
#include "ui/ErrorGuard.h"
#include "ui/UiMessages.h"

#include <QList>

#include <string>

namespace {

// Every form of line break Qt may hold (CR LF, CR, LF, U+2028, U+2029) as CR LF.
QString WithCrLfLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    text.replace(QChar(QChar::LineSeparator), QChar(u'\n'));
    text.replace(QChar(QChar::ParagraphSeparator), QChar(u'\n'));
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

// Each character once, in the order of first appearance.
QString DistinctCharacters(const QString& characters)
{
    std::u32string seen;
    for (uint c : characters.toUcs4())
        if (seen.find(char32_t(c)) == std::u32string::npos) seen += char32_t(c);
    return QString::fromUcs4(seen.data(), qsizetype(seen.size()));
}

bool IsLineBreak(char32_t c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The number of bytes of one character in the code page ("?" for one it cannot hold).
int CodePageWidth(char32_t c)
{
    if (c < 0x80) return 1;
    std::string unmappable;
    return static_cast<int>(Utf8ToCodePage(QString::fromUcs4(&c, 1).toStdString(), unmappable).size());
}

} // namespace

std::string ToCodePage(const QString& text)
{
    std::string unmappable;
    std::string result = Utf8ToCodePage(WithCrLfLineBreaks(text).toStdString(), unmappable);
    if (!unmappable.empty())
        ShowNotice(QString::fromUtf8(UiMessages::UnmappableCharacters) +
                   DistinctCharacters(QString::fromStdString(unmappable)));
    return result;
}

std::string ToCodePageQuietly(const QString& text)
{
    std::string unmappable;
    return Utf8ToCodePage(WithCrLfLineBreaks(text).toStdString(), unmappable);
}

QString FromCodePage(const std::string& text)
{
    return QString::fromStdString(CodePageToUtf8(text)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

int QtPosition(const QString& text, int codePagePosition)
{
    int codePage = 0;
    qsizetype i = 0;
    while (i < text.size() && codePage < codePagePosition) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const bool crLf = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        codePage += IsLineBreak(c) ? 2 : CodePageWidth(c);
        i += pair || crLf ? 2 : 1;
    }
    return static_cast<int>(i);
}
