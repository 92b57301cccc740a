#include "ScriptedFileDialogs.h"
#include "TestProgramFolder.h"

#include "runtime/Clock.h"
#include "runtime/IniFile.h"
#include "ui/InfoDialog.h"
#include "ui/SetupDialog.h"
#include "ui/UTickerpost.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

// Takes the URLs the desktop services would hand to the file manager.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> Urls;

public slots:
    void Open(const QUrl& url) { Urls << url; }
};

} // namespace

class WindowCommandsTest : public QObject
{
    Q_OBJECT

private:
    FixedClock clock_{DateTime{2024, 3, 20, 12, 0, 0}};
    std::unique_ptr<TestProgramFolder> folder_;
    std::unique_ptr<CapturedMessages> captured_;
    std::unique_ptr<TFSMS> window_;
    ScriptedFileDialogs* dialogs_ = nullptr;

    QString PathOf(const char* name) const { return QString::fromStdString(folder_->Path()) + name; }
    QPlainTextEdit* Message() { return window_->findChild<QPlainTextEdit*>("MSMS"); }
    void Trigger(const char* action) { window_->findChild<QAction*>(action)->trigger(); }
    std::string FileName() { return window_->Drafts().SMSFileName(); }

    // Runs `inspect` on the modal dialog that `action` opens, then closes that dialog.
    template <class Dialog> void InspectModal(const char* action, std::function<void(Dialog&)> inspect)
    {
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            shown = dialog != nullptr;
            if (!dialog) return;
            inspect(*dialog);
            dialog->close();
        });
        Trigger(action);
        QVERIFY(shown);
    }

private slots:
    void init()
    {
        folder_ = std::make_unique<TestProgramFolder>("[Adressbook]\r\nUseOutlookAdressbook=0\r\n");
        captured_ = std::make_unique<CapturedMessages>();
        window_ = std::make_unique<TFSMS>(folder_->Path(), clock_);
        auto dialogs = std::make_unique<ScriptedFileDialogs>();
        dialogs_ = dialogs.get();
        window_->Drafts().SetFileDialogs(std::move(dialogs));
    }

    void cleanup()
    {
        window_.reset();
        captured_.reset();
        folder_.reset();
    }

    void SaveWithoutANameShowsTheDialogThenSavesWithoutIt()
    {
        Message()->setPlainText(QStringLiteral("Grüße\nbis morgen"));
        dialogs_->Answers = {PathOf("a.sms")};
        Trigger("ASave");
        QCOMPARE(dialogs_->SaveAsked, 1);
        QCOMPARE(folder_->Read("a.sms"), QByteArray("Gr\xFC\xDF"
                                                    "e\r\nbis morgen\r\n"));
        QCOMPARE(window_->StatusText(), QStringLiteral("SMS gespeichert"));
        QCOMPARE(QString::fromStdString(FileName()), PathOf("a.sms"));

        Message()->setPlainText(QStringLiteral("zweite Fassung"));
        Trigger("ASave");
        QCOMPARE(dialogs_->SaveAsked, 1);
        QCOMPARE(folder_->Read("a.sms"), QByteArray("zweite Fassung\r\n"));
    }

    void SaveAsCancelledChangesNothing()
    {
        Message()->setPlainText(QStringLiteral("erste"));
        dialogs_->Answers = {PathOf("a.sms"), QString()};
        Trigger("ASaveAs");
        window_->SetStatusText(QStringLiteral("vorher"));
        Message()->setPlainText(QStringLiteral("zweite"));
        Trigger("ASaveAs");
        QCOMPARE(dialogs_->SaveAsked, 2);
        QCOMPARE(QString::fromStdString(FileName()), PathOf("a.sms"));
        QCOMPARE(folder_->Read("a.sms"), QByteArray("erste\r\n"));
        QCOMPARE(window_->StatusText(), QStringLiteral("vorher"));
    }

    void OpenNewAndSaveReplacesTheOpenedFileWithoutAsking()
    {
        folder_->Write("A.txt", "eins\r\nzwei\r\ndrei\r\n");
        dialogs_->Answers = {PathOf("A.txt")};
        Trigger("AOpen");
        QCOMPARE(Message()->toPlainText(), QStringLiteral("eins zwei drei"));
        QCOMPARE(window_->findChild<QLabel*>("LELastingChars")->text(), QStringLiteral("146"));
        QCOMPARE(window_->StatusText(), QStringLiteral("SMS geöffnet"));

        Trigger("ANew");
        QCOMPARE(Message()->toPlainText(), QString());
        QCOMPARE(window_->StatusText(), QStringLiteral("Neue SMS"));
        QCOMPARE(QString::fromStdString(FileName()), PathOf("A.txt"));

        QTest::keyClicks(Message(), QStringLiteral("neu"));
        Trigger("ASave");
        QCOMPARE(dialogs_->SaveAsked, 0);
        QCOMPARE(folder_->Read("A.txt"), QByteArray("neu\r\n"));
    }

    void OpenOfAMissingFileShowsTheGermanErrorAndKeepsTheText()
    {
        Message()->setPlainText(QStringLiteral("bleibt"));
        window_->SetStatusText(QStringLiteral("vorher"));
        dialogs_->Answers = {PathOf("fehlt.sms")};
        Trigger("AOpen");
        QCOMPARE(captured_->Messages().size(), 1);
        QCOMPARE(captured_->Messages().first().second, QStringLiteral("Datei nicht gefunden."));
        QCOMPARE(Message()->toPlainText(), QStringLiteral("bleibt"));
        QCOMPARE(window_->StatusText(), QStringLiteral("vorher"));
        QCOMPARE(QString::fromStdString(FileName()), PathOf("fehlt.sms"));
    }

    void OpenCancelledChangesNothing()
    {
        Message()->setPlainText(QStringLiteral("bleibt"));
        Trigger("AOpen");
        QCOMPARE(dialogs_->OpenAsked, 1);
        QCOMPARE(Message()->toPlainText(), QStringLiteral("bleibt"));
        QVERIFY(FileName().empty());
    }

    void FileDialogsOfferTheDraftFilter()
    {
        for (auto mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
            QFileDialog dialog;
            ConfigureDraftFileDialog(dialog, mode);
            QCOMPARE(dialog.nameFilters(),
                     QStringList({QStringLiteral("SMS (*.sms)"), QStringLiteral("Text (*.txt)"),
                                  QStringLiteral("Alle (*.*)")}));
            QCOMPARE(dialog.selectedNameFilter(), QStringLiteral("SMS (*.sms)"));
            QCOMPARE(dialog.defaultSuffix(), QStringLiteral("sms"));
            QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
            QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
            QCOMPARE(dialog.acceptMode(), mode);
        }
    }

    // The count that another copy of the program wrote since the start shows as the dialog opens.
    void EinstellungenShowsTheSettingsOfTheWindowAndTheCountOfUserIni()
    {
        IniFile(folder_->Path() + "user.ini")
            .Write(IniChanges()
                       .SetString("SMS", "LastSentSMS", "19.03.2024 08:00:00")
                       .SetInteger("SMS", "SMSThisMonth", 9));
        InspectModal<TFSetupDialog>("AEinstellungen", [this](TFSetupDialog& dialog) {
            QCOMPARE(dialog.findChild<QLineEdit*>("EAccountID")->text(), QStringLiteral("Dein Login"));
            QVERIFY(!dialog.findChild<QCheckBox*>("CBUseOutlookAdressbook")->isChecked());
            QCOMPARE(window_->findChild<QLabel*>("LESMSMonth")->text(), QStringLiteral("9"));
        });
    }

    void ArchivordnerCreatesTheArchiveFolderAndOpensIt()
    {
        UrlRecorder fileManager;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &fileManager, "Open");
        Trigger("AArchivordner");
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QVERIFY(QFileInfo(PathOf("Sent")).isDir());
        QCOMPARE(fileManager.Urls, QList<QUrl>({QUrl::fromLocalFile(PathOf("Sent"))}));
        QCOMPARE(captured_->Messages().size(), 0);
    }

    void InfoShowsTheAboutBox()
    {
        InspectModal<TFInfoDialog>(
            "AInfo", [](TFInfoDialog& dialog) { QCOMPARE(dialog.windowTitle(), QStringLiteral("Info")); });
    }
};

int RunWindowCommandsTest(int argc, char** argv)
{
    WindowCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowCommandsTest.moc"
