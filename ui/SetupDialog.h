#pragma once

#include "core/ConnectionSettings.h"
#include "core/ConnectionTest.h"
#include "core/Settings.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;
struct SetupControl;

// The settings dialog: every setting of the record on four pages. "Übernehmen" stores the
// controls in the record and in user.ini key by key, "Verwerfen" (Esc) reloads them from the
// record, "Schließen" (Enter, the default button) closes without storing. "Verbindung testen"
// reaches the servers as the controls show them, stored or not, and reports in a message box;
// `showStatus` shows its progress in the main window's status bar.
class TFSetupDialog : public QDialog
{
    Q_OBJECT

public:
    TFSetupDialog(TSettings& settings, std::string settingsFilePath, QWidget* parent = nullptr,
                  StatusDisplay showStatus = {});

    void LoadSettingsToControls();
    // Sets each setting of SetupControls in the record and writes its key at once, in the order of
    // the table; a failure (a length that is no integer, a file that cannot be written) stops the
    // series there. A port that is no integer from 1 to 65535, or an encryption none of whose
    // entries is chosen, is refused first, and then nothing at all is stored.
    void SaveControlsToSettings();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void BAcceptClick();
    void BDeclineClick();
    void BCloseClick();
    void CBSavePasswordClick(bool checked);
    void BTestConnectionClick();

private:
    QWidget* CreateEMailAccountPage();
    QWidget* CreateSmsPage();
    QWidget* CreateAdressbookPage();
    QWidget* CreateConnectionPage();
    QLayout* CreateButtons();
    void SetAccountPageTabOrder();
    void ShowPasswordMarker();
    QWidget* ControlNamed(const char* name) const;
    QWidget* ControlOf(SettingField field) const;
    void ReadControl(const SetupControl& control, TSettings& into) const;
    TSettings ShownSettings() const;
    void CheckConnectionPage() const;
    void SecurityChosen(const ServerConnectionKeys& server, int security);

    TSettings& settings_;
    std::string settingsFilePath_;
    StatusDisplay showStatus_;

    // The controls of SetupControls are found by their names; these two also carry the password rule.
    QTabWidget* PCSetupDialog = nullptr;
    QLineEdit* EPassword = nullptr;
    QCheckBox* CBSavePassword = nullptr;
    QPushButton* BAccept = nullptr;
    QPushButton* BDecline = nullptr;
    QPushButton* BClose = nullptr;
    QPushButton* BTestConnection = nullptr;
};
