// Replaying a saved work on its own thread at the chosen acceleration.
#pragma once

// Starts the review thread; the caller has set screenState 4, reviewRunning 1 and stopped GPS.
void startReview();
// Waits for the review thread to end (after reviewRunning was cleared).
void joinReview();
