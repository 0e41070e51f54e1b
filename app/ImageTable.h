// The pictures of the screens, loaded once at start for the layout in force (normal or wide)
// with the transparent colour each of them uses, and freed at shut-down.
#pragma once

// The full-screen picture of the start, message and confirmation screens, stretched to the
// screen when the display is turned a quarter. Needs the screen metrics and orientation.
void loadBackgroundImage();
// Every other picture: work-screen background, vehicle, arrows and all button images, with
// their colour keys; sets pictureQuad to the screen, builds the scaled vehicle and the dashed
// line of point A. Needs the screen metrics and the settings (zoom, vehicle scale).
void loadScreenImages();
// Frees every picture of both loaders, the scaled vehicle and the dashed line. Safe to call
// when nothing was loaded, and more than once.
void freeScreenImages();
