// The taps that set a work's guide line, in the pattern chosen on the Guide page: A and B for
// a straight line, A alone for a line at a heading, A and B around a recorded path for a curve.
#pragma once

#include <vector>

#include "guidance/Vec2.h"

// Takes the vehicle's position as the next point; the caller holds frameLock.
void takeAbPoint();
// An AB work with a line from a saved work goes into guidance at its first position: the line
// is moved into this work's plane through longitude and latitude. The caller holds frameLock.
void adoptSavedLine();
// Starts guidance along a curve through these points (dm), as recorded or resumed.
bool startCurveGuidance(const std::vector<Vec2>& path);
