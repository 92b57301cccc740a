#pragma once

#include <QDialog>

// The about box: the program's name and version and a note on a known limitation.
class TFInfoDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TFInfoDialog(QWidget* parent = nullptr);

private slots:
    void BCloseClick();
};
