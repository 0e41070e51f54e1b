// Settings files are written by a thread of their own, one write after the other in the order
// given: the driver's OK returns at once, and a slow or failing card never holds the screen.
// A failed write leaves a notice that the next paint puts in front of the driver.
#pragma once

#include <functional>

// Runs the write after those given before; it returns false when it failed. It must carry
// everything it writes: the settings as they are now, not as they will be.
void writeInBackground(std::function<bool()> write);
// Waits until every write given so far is done (the end of the program, and tests).
void finishBackgroundWrites();
// Shows the driver, once, that a settings write failed since the last call.
void showBackgroundWriteFailure();
