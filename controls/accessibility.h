#pragma once

// Lets the program's own controls speak to assistive technology: a picture box as a graphic
// under its accessible name and description, a caption frame as a group named by its caption,
// and a fixed window as a window. Call once, after the application object exists.
void installAccessibility();
