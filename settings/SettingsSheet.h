// The full-screen tabbed settings sheet; its pages depend on the screen it was opened from.
#pragma once

// Runs the sheet modally; returns when it has closed (menuOpen is cleared then).
void openMenu();
