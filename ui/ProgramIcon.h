#pragma once

#include <QIcon>

// The program's icon in every size drawn for it, for the title bars and task bars of its windows.
QIcon ProgramIcon();
