#pragma once

// Lets the program's own controls speak to assistive technology: a picture box as a graphic
// under its accessible name and description, a caption frame as a group named by its caption,
// a fixed window as a window or a dialog, and an announcer as a status bar with a notification.
// Call once, after the application object exists.
void installAccessibility();
