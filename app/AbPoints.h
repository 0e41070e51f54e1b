// The taps that set a work's guide line, in the pattern chosen on the Guide page: A and B for
// a straight line, A alone for a line at a heading, A and B around a recorded path for a curve.
#pragma once

#include <vector>

#include "guidance/Vec2.h"

// Takes the vehicle's position as the next point; the caller holds frameLock.
void takeAbPoint();
// Forgets the lines of every pattern (a new work).
void clearPatternLines();
// Starts guidance along a curve through these points (dm), as recorded or resumed.
bool startCurveGuidance(const std::vector<Vec2>& path);
