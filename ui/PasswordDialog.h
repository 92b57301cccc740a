#pragma once

#include "core/Settings.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The password prompt shown before a send when no password is stored. "OK" puts the typed text
// into the record's LoginPassword (memory only) and closes; closing otherwise changes nothing.
class TFPasswordDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TFPasswordDialog(TSettings& settings, QWidget* parent = nullptr);

private slots:
    void Button1Click();

private:
    TSettings& settings_;
    QLineEdit* EPassword = nullptr;
    QPushButton* Button1 = nullptr;
};
