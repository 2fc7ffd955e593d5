#pragma once

#include <QIcon>

enum class ToolbarIcon { Cut, Copy, Paste, Print, About };

// The 16 x 15 toolbar pictures.
QIcon toolbarIcon(ToolbarIcon which);

// The program's icon: the mascot, a seal, in a round window.
QIcon programIcon();
