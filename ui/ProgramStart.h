#pragma once

#include "runtime/Clock.h"
#include "runtime/FileLocations.h"
#include "ui/UTickerpost.h"

#include <memory>
#include <optional>

class QApplication;

// The program's start, shared by the entry and the tests that start the program as a user does.

// German texts in Qt's own dialogs and buttons, the program's icon, and the name of its desktop
// entry, which the desktop matches its windows with.
void PrepareApplication(QApplication& application);

// Creates the main window with its files where LocateFiles puts them for the executable's folder,
// or where a test puts them; its start-up runs inside. An error there is shown in the error box
// and gives null.
std::unique_ptr<TFSMS> CreateMainWindow(Clock& clock, std::optional<FileLocations> files = std::nullopt);
