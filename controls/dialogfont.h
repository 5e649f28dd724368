#pragma once

// Sets up the fonts the windows name. The program's default dialog font, for every control
// without a font of its own, is MS Sans Serif at 8 points: the size the windows are laid out
// for. Where MS Sans Serif is not installed it is drawn in a family of the same widths
// (Microsoft Sans Serif, Liberation Sans, Arial, whichever is there first). Menus keep the
// desktop's own font. Call once, after the application object exists and before any window.
void useDialogFonts();
