#include "runtime/Clock.h"
#include "ui/UTickerpost.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

constexpr int Contacts = 10000;

// A program folder whose Kontakte.vcf holds `Contacts` vCard 3.0 cards as a desktop address book
// exports them, in no particular order of names.
class ProgramFolderWithContacts
{
public:
    ProgramFolderWithContacts()
    {
        QByteArray content;
        for (int i = 0; i < Contacts; ++i) {
            const QByteArray n = QByteArray::number((i * 7919) % Contacts);
            content += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nachname " + n +
                       ";Vorname;;;\r\nFN:Vorname Nachname " + n + "\r\nTEL;TYPE=CELL:+49 170" + n +
                       "\r\nEMAIL;TYPE=INTERNET:kontakt" + n + "@example.org\r\nEND:VCARD\r\n";
        }
        QFile file(dir_.filePath(QStringLiteral("Kontakte.vcf")));
        if (file.open(QIODevice::WriteOnly)) file.write(content);
    }
    std::string Path() const { return dir_.path().toStdString() + "/"; }

private:
    QTemporaryDir dir_;
};

// From creating the main window to a window shown and idle, its recipient list filled and sorted.
void BM_StartUpWith10000Contacts(benchmark::State& state)
{
    ProgramFolderWithContacts folder;
    FixedClock clock;
    int entries = 0;
    for (auto _ : state) {
        TFSMS window(folder.Path(), clock);
        window.show();
        QApplication::processEvents();
        entries = window.findChild<QComboBox*>("ComboBoxReceiverAdress")->count();
    }
    state.counters["entries"] = entries;
}
BENCHMARK(BM_StartUpWith10000Contacts)->Unit(benchmark::kMillisecond);

// Keystrokes in the recipient box over 10,000 entries: a letter that completes to an entry (with a
// lookup), a letter that matches no entry (every entry compared, then a lookup) and two Backspaces
// (a lookup each).
void BM_KeystrokeInTheRecipientBox(benchmark::State& state)
{
    ProgramFolderWithContacts folder;
    FixedClock clock;
    TFSMS window(folder.Path(), clock);
    window.show();
    QApplication::processEvents();
    auto* box = window.findChild<QComboBox*>("ComboBoxReceiverAdress");
    for (auto _ : state) {
        QTest::keyClick(box, Qt::Key_V);
        QTest::keyClick(box, Qt::Key_X);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Backspace);
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_KeystrokeInTheRecipientBox)->Unit(benchmark::kMicrosecond);

} // namespace
