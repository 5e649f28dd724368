#pragma once

#include <Qt>

class QWidget;

// The window flags of a fixed single frame: a title bar with a close box only, no minimise or
// maximise box; with a fixed size the window cannot be resized either.
inline constexpr Qt::WindowFlags fixedFrameFlags = Qt::Window | Qt::MSWindowsFixedSizeDialogHint
    | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
    | Qt::WindowCloseButtonHint;

// Places a top-level window so that it stands in the middle of its screen's available area.
void centreOnScreen(QWidget &window);
