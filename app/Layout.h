// Where every button is, for portrait and landscape, normal and wide screens; computed once at
// start from the screen size and orientation in appState.
#pragma once

// Sets the screen metrics derived from screenWidth and screenHeight (halves, limits, the guide
// number row, the wide layout flag).
void computeScreenMetrics();
// Sets barHeight, arrowSpacing, textMargin, every button rectangle and every button picture's
// position.
void computeLayout();
