#pragma once

class QWidget;

// Places a top-level window so that it stands in the middle of its screen's available area.
void centreOnScreen(QWidget &window);
