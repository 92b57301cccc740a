#include "ui/QtCodePage.h"

#include "runtime/CodePage.h"
#include "ui/ErrorGuard.h"
#include "ui/UiMessages.h"

#include <QList>

#include <map>
#include <string>
#include <unordered_map>

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

bool IsLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// How many bytes the converter makes of each character of one code page ("?", one byte, for a
// character the code page cannot hold); each character is converted once, when first met.
class CharacterWidths
{
public:
    explicit CharacterWidths(CodePage codePage) : codePage_(codePage) {}

    int Of(char32_t c)
    {
        if (c < 0x80) return 1;
        auto [entry, isNew] = widths_.try_emplace(c, 0);
        if (isNew) {
            // A lone surrogate stays one QChar, which Qt's UTF-8 conversion makes "?", as for the text.
            const QString character = c > 0xFFFF ? QString::fromUcs4(&c, 1) : QString(QChar(char16_t(c)));
            std::string unmappable;
            entry->second =
                static_cast<int>(Utf8ToCodePage(character.toStdString(), unmappable, codePage_).size());
        }
        return entry->second;
    }

private:
    CodePage codePage_;
    std::unordered_map<char32_t, int> widths_;
};

CharacterWidths& WidthsIn(CodePage codePage)
{
    static std::map<CodePage, CharacterWidths> widths;
    return widths.try_emplace(codePage, codePage).first->second;
}

// One character of a Qt text as the converter sees it: a surrogate pair and CR LF are one step.
struct Step
{
    qsizetype QtLength;
    int CodePageWidth;
};

Step StepAt(QStringView text, qsizetype i, CharacterWidths& widths)
{
    const QChar unit = text[i];
    const bool hasNext = i + 1 < text.size();
    if (unit.isHighSurrogate() && hasNext && text[i + 1].isLowSurrogate())
        return {2, widths.Of(QChar::surrogateToUcs4(unit, text[i + 1]))};
    if (unit == u'\r' && hasNext && text[i + 1] == u'\n') return {2, 2};
    if (IsLineBreak(unit.unicode())) return {1, 2};
    return {1, widths.Of(unit.unicode())};
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

std::string ToCodePageQuietly(const QString& text, CodePage codePage)
{
    std::string unmappable;
    return Utf8ToCodePage(WithCrLfLineBreaks(text).toStdString(), unmappable, codePage);
}

QString FromCodePage(const std::string& text)
{
    return QString::fromStdString(CodePageToUtf8(text)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

int CodePageLength(QStringView text, CodePage codePage)
{
    CharacterWidths& widths = WidthsIn(codePage);
    int length = 0;
    for (qsizetype i = 0; i < text.size();) {
        const Step step = StepAt(text, i, widths);
        length += step.CodePageWidth;
        i += step.QtLength;
    }
    return length;
}

int QtPosition(const QString& text, int codePagePosition)
{
    CharacterWidths& widths = WidthsIn(SystemCodePage());
    int codePage = 0;
    qsizetype i = 0;
    while (i < text.size() && codePage < codePagePosition) {
        const Step step = StepAt(text, i, widths);
        codePage += step.CodePageWidth;
        i += step.QtLength;
    }
    return static_cast<int>(i);
}
