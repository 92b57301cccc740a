#include "TestProgramFolder.h"

#include "runtime/Exception.h"
#include "ui/ErrorGuard.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <stdexcept>

class ErrorGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void ShowsTheErrorOfAHandler_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no error") << 0 << QString();
        QTest::newRow("program's error gets a point") << 1 << QStringLiteral("Datei nicht gefunden.");
        QTest::newRow("error ending in a point")
            << 2 << QStringLiteral("Die Verbindung wurde erfolgreich geschlossen.");
        QTest::newRow("standard library error") << 3 << QStringLiteral("kaputt.");
    }

    void ShowsTheErrorOfAHandler()
    {
        QFETCH(int, kind);
        QFETCH(QString, expected);
        CapturedMessages captured;
        bool finished = false;
        Guarded([&] {
            if (kind == 1) throw Exception("Datei nicht gefunden");
            if (kind == 2) throw Exception("Die Verbindung wurde erfolgreich geschlossen.");
            if (kind == 3) throw std::runtime_error("kaputt");
            finished = true;
        });
        QCOMPARE(finished, kind == 0);
        if (expected.isEmpty()) {
            QVERIFY(captured.Messages().isEmpty());
        } else {
            QCOMPARE(captured.Messages().size(), 1);
            QCOMPARE(captured.Messages().first().first, MessageKind::Error);
            QCOMPARE(captured.Messages().first().second, expected);
        }
    }

    // A server reply that looks like markup is shown as it stands, under the program's title.
    void ErrorBoxShowsTheMessageAsPlainText()
    {
        const MessageSink previous = SetMessageSink({});
        QString title;
        QString text;
        Qt::TextFormat format = Qt::RichText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            format = box->textFormat();
            box->accept();
        });
        ShowErrorMessage("554 <b>abgelehnt</b>");
        SetMessageSink(previous);
        QCOMPARE(title, QStringLiteral("Tickerpost"));
        QCOMPARE(text, QStringLiteral("554 <b>abgelehnt</b>."));
        QCOMPARE(format, Qt::PlainText);
    }
};

int RunErrorGuardTest(int argc, char** argv)
{
    ErrorGuardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ErrorGuardTest.moc"
