#pragma once

#include "runtime/Clock.h"
#include "ui/UTickerpost.h"

#include <memory>
#include <optional>
#include <string>

class QApplication;

// The program's start, shared by the entry and the tests that start the program as a user does.

// German texts in Qt's own dialogs and buttons.
void PrepareApplication(QApplication& application);

// Creates the main window for the program in `programFolder` (the executable's folder unless a
// test gives another); its start-up runs inside. An error there is shown in the error box and
// gives null.
std::unique_ptr<TFSMS> CreateMainWindow(Clock& clock,
                                        std::optional<std::string> programFolder = std::nullopt);
