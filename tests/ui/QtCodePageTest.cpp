#include "TestProgramFolder.h"

#include "ui/QtCodePage.h"

#include <QTest>

class QtCodePageTest : public QObject
{
    Q_OBJECT

private slots:
    void ToCodePageConvertsCharactersAndLineBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("umlauts") << QStringLiteral("Grüße")
                                 << QByteArray("Gr\xfc\xdf"
                                               "e");
        QTest::newRow("euro sign") << QStringLiteral("5 €") << QByteArray("5 \x80");
        QTest::newRow("Qt line break") << QStringLiteral("a\nb") << QByteArray("a\r\nb");
        QTest::newRow("CR LF stays one break") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
        QTest::newRow("paragraph separator")
            << QStringLiteral("a\u2029b\u2028c") << QByteArray("a\r\nb\r\nc");
    }

    void ToCodePageConvertsCharactersAndLineBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        CapturedMessages captured;
        QCOMPARE(QByteArray::fromStdString(ToCodePage(text)), expected);
        QVERIFY(captured.Messages().isEmpty());
    }

    void ToCodePageNamesCharactersItCannotHold()
    {
        CapturedMessages captured;
        QCOMPARE(ToCodePage(QStringLiteral("😀 Ω 😀")), std::string("? ? ?"));
        QCOMPARE(captured.Messages().size(), 1);
        QCOMPARE(captured.Messages().first().first, MessageKind::Notice);
        QVERIFY2(captured.Messages().first().second.endsWith(QStringLiteral(": 😀Ω")),
                 qPrintable(captured.Messages().first().second));
    }

    void FromCodePageGivesQtLineBreaks()
    {
        QCOMPARE(FromCodePage("Gr\xfc\xdf"
                              "e\r\n\x80"),
                 QStringLiteral("Grüße\n€"));
    }

    void QtPositionCountsLineBreaksAsTwoCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("codePagePosition");
        QTest::addColumn<int>("qtPosition");
        QTest::newRow("start") << QStringLiteral("äb\ncd") << 0 << 0;
        QTest::newRow("umlaut is one character") << QStringLiteral("äb\ncd") << 2 << 2;
        QTest::newRow("after the line break") << QStringLiteral("äb\ncd") << 4 << 3;
        QTest::newRow("end") << QStringLiteral("äb\ncd") << 6 << 5;
        QTest::newRow("past the end") << QStringLiteral("äb\ncd") << 99 << 5;
        QTest::newRow("CR LF in Qt text") << QStringLiteral("a\r\nb") << 3 << 3;
        QTest::newRow("paragraph separator") << QStringLiteral("a\u2029b") << 3 << 2;
        QTest::newRow("character outside the BMP") << QStringLiteral("😀x") << 1 << 2;
    }

    void QtPositionCountsLineBreaksAsTwoCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, codePagePosition);
        QFETCH(int, qtPosition);
        QCOMPARE(QtPosition(text, codePagePosition), qtPosition);
    }
};

int RunQtCodePageTest(int argc, char** argv)
{
    QtCodePageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "QtCodePageTest.moc"
