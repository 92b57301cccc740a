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
    // Sets each setting of SetupControls in the record and writes its key at once, in the order of
    // the table; a failure (a length that is no integer, a file that cannot be written) stops the
    // series there.
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
    QWidget* ControlNamed(const char* name) const;

    TSettings& settings_;
    std::string settingsFilePath_;

    // The controls of SetupControls are found by their names; these two also carry the password rule.
    QTabWidget* PCSetupDialog = nullptr;
    QLineEdit* EPassword = nullptr;
    QCheckBox* CBSavePassword = nullptr;
    QPushButton* BAccept = nullptr;
    QPushButton* BDecline = nullptr;
    QPushButton* BClose = nullptr;
};
