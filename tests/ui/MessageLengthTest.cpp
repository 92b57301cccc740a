#include "ui/MessageLength.h"
#include "runtime/CodePage.h"
#include "ui/QtCodePage.h"

#include <QPlainTextEdit>
#include <QTest>

Q_DECLARE_METATYPE(CodePage)

class MessageLengthTest : public QObject
{
    Q_OBJECT

private slots:
    void LengthIsTheLengthOfTheConvertedTextThroughEdits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CodePage>("codePage");
        const QString loneSurrogate = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
        const QList<QPair<const char*, QString>> texts = {
            {"ASCII", QStringLiteral("Hallo Welt \\ ~ {}")},
            {"umlauts", QStringLiteral("Grüße aus Köln")},
            {"Windows-1252 only", QStringLiteral("5 € „Angebot“ – …")},
            {"emoji", QStringLiteral("Hi 😀 👍🏽")},
            {"line separator", QStringLiteral("a\u2028b\u2028")},
            {"paragraph separator", QStringLiteral("a\u2029b")},
            {"line break forms", QStringLiteral("a\r\nb\rc\nd\n\n")},
            {"no-break space", QStringLiteral("a\u00a0b")},
            {"lone surrogate", loneSurrogate},
            {"Japanese", QStringLiteral("日本語のテキスト ｶﾀｶﾅ ¥")},
            {"Chinese", QStringLiteral("简体中文\n繁體中文")},
            {"Korean", QStringLiteral("한국어 텍스트")},
            {"mixed", QStringLiteral("Grüße 😀\u2028日本\r\n한국 € 中文")},
        };
        for (CodePage codePage : {CodePage::Windows1252, CodePage::ShiftJis932, CodePage::Gbk936,
                                  CodePage::Uhc949, CodePage::Big5950})
            for (const auto& [label, text] : texts)
                QTest::addRow("%s, code page %d", label, int(codePage)) << text << codePage;
    }

    // The length must follow every kind of edit: typing, joining lines, undo and redo, clearing.
    void LengthIsTheLengthOfTheConvertedTextThroughEdits()
    {
        QFETCH(QString, text);
        QFETCH(CodePage, codePage);
        QPlainTextEdit edit;
        TMessageLength length(*edit.document(), codePage);
        const auto converted = [&] { return int(ToCodePageQuietly(edit.toPlainText(), codePage).size()); };

        edit.setPlainText(text);
        QCOMPARE(length.Length(), converted());
        QTextCursor cursor(edit.document());
        cursor.setPosition(int(text.size()) / 2);
        cursor.insertText(text);
        QCOMPARE(length.Length(), converted());
        cursor.setPosition(1);
        cursor.setPosition(int(text.size()) + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QCOMPARE(length.Length(), converted());
        edit.undo();
        QCOMPARE(length.Length(), converted());
        edit.redo();
        QCOMPARE(length.Length(), converted());
        edit.clear();
        QCOMPARE(length.Length(), 0);
    }
};

int RunMessageLengthTest(int argc, char** argv)
{
    MessageLengthTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MessageLengthTest.moc"
