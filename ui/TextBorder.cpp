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

QString FromCodePage(const std::string& text)
{
    return QString::fromStdString(CodePageToUtf8(text)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
