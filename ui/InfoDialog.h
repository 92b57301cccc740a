#pragma once

#include "runtime/FileLocations.h"

#include <QDialog>

// The about box: the program's name and version, a note on a known limitation and the folders
// that hold the program's files.
class TFInfoDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TFInfoDialog(const FileLocations& files, QWidget* parent = nullptr);

private slots:
    void BCloseClick();
};
