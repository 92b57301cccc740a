#include "runtime/Clock.h"
#include "ui/UTickerpost.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// A message of about `length` characters in lines of 60, as a long letter would be typed; with
// `mixed`, each line also holds umlauts, a euro sign and an emoji, which the counters weigh apart.
QString LongMessage(int length, bool mixed)
{
    const QString line = mixed ? QStringLiteral("Grüße, 5 € 😀 ") + QString(45, QChar(u'x')) + QChar(u'\n')
                               : QString(59, QChar(u'x')) + QChar(u'\n');
    QString text;
    text.reserve(length + line.size());
    while (text.size() < length) text += line;
    return text;
}

// One keystroke typed at the end of a long message and one Backspace, each of them updating the
// counters; the time per keystroke must not grow with the message.
void BM_TypingIntoALongMessage(benchmark::State& state)
{
    QTemporaryDir programFolder;
    FixedClock clock;
    TFSMS window(programFolder.path().toStdString() + "/", clock);
    window.show();
    auto* message = window.findChild<QPlainTextEdit*>("MSMS");
    message->setPlainText(LongMessage(static_cast<int>(state.range(0)), state.range(1) != 0));
    message->moveCursor(QTextCursor::End);
    QApplication::processEvents();

    for (auto _ : state) {
        QTest::keyClick(message, Qt::Key_A);
        QTest::keyClick(message, Qt::Key_Backspace);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["LELastingChars"] = window.findChild<QLabel*>("LELastingChars")->text().toInt();
}
BENCHMARK(BM_TypingIntoALongMessage)
    ->ArgNames({"length", "mixed"})
    ->ArgsProduct({{1'000, 10'000, 100'000}, {0, 1}});

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
