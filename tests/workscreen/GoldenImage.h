// Compares a drawn frame with its reviewed reference picture under golden/, pixel for pixel.
// A missing reference is recorded and the check fails until someone has looked at it; a
// mismatch leaves <name>.actual.png and <name>.diff.png beside the reference.
// SULCO_UPDATE_GOLDEN=1 rewrites every reference (then review them all before committing).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "gfx/Surface.h"

::testing::AssertionResult matchesGolden(const std::string& name, const gfx::Surface& frame);
