#pragma once

#include <QIcon>

// The six 16 x 16 images of the toolbar and the menu, drawn in code.
enum class ToolbarImage { New = 0, Open = 1, Save = 2, Cut = 3, Copy = 4, Paste = 5 };

QIcon ToolbarIcon(ToolbarImage image);
