#pragma once

class QWidget;

// Places a top-level window so that it stands in the middle of its screen's available area.
void centreOnScreen(QWidget &window);

// Whether the window system leaves the windows' frames to the programs: so it is under Wayland,
// unless Qt has been told to draw none (QT_WAYLAND_DISABLE_WINDOWDECORATION).
bool windowSystemLeavesFramesToPrograms();
