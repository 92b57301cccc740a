#pragma once

#include "core/Settings.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The settings dialog: every setting of the record on three pages. "Übernehmen" stores the
// controls in the record and in user.ini key by key, "Verwerfen" (Esc) reloads them from the
// record, "Schließen" (Enter, the default button) closes without storing.
class TFSetupDialog : public QDialog
{
    Q_OBJECT

public:
    TFSetupDialog(TSettings& settings, std::string settingsFilePath, QWidget* parent = nullptr);

    void LoadSettingsToControls();
    // Sets each setting in the record and writes its key at once, in the order of the keys; a
    // failure (a length that is no integer, a file that cannot be written) stops the series there.
    void SaveControlsToSettings();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void BAcceptClick();
    void BDeclineClick();
    void BCloseClick();
    void CBSavePasswordClick(bool checked);

private:
    QWidget* CreateEMailAccountPage();
    QWidget* CreateSmsPage();
    QWidget* CreateAdressbookPage();
    QLayout* CreateButtons();
    void SetAccountPageTabOrder();
    void ShowPasswordMarker();

    TSettings& settings_;
    std::string settingsFilePath_;

    QTabWidget* PCSetupDialog = nullptr;
    QLineEdit* EAccountID = nullptr;
    QLineEdit* EPassword = nullptr;
    QCheckBox* CBSavePassword = nullptr;
    QLineEdit* EUserName = nullptr;
    QLineEdit* EeMailAdress = nullptr;
    QLineEdit* EPOP3Server = nullptr;
    QLineEdit* ESMTPServer = nullptr;
    QCheckBox* CBPOP3First = nullptr;
    QLineEdit* ESMSProvider = nullptr;
    QLineEdit* EFormatToken = nullptr;
    QLineEdit* EMaxSMSLength = nullptr;
    QCheckBox* CBLastSMSFirst = nullptr;
    QCheckBox* CBSMSAutoSave = nullptr;
    QCheckBox* CBUseOutlookAdressbook = nullptr;
    QPushButton* BAccept = nullptr;
    QPushButton* BDecline = nullptr;
    QPushButton* BClose = nullptr;
};
