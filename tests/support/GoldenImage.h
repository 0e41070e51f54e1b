// The one comparison of a drawn surface with its reviewed reference picture, pixel for pixel.
//
// The reference is a file of the source tree, tests/<folder>/golden/<name>.png or .ppm; both
// sides are compared as 8-bit RGB, each RGB565 channel of the surface widened by repeating its
// top bits (as the references were written), so a reference matches exactly one surface.
// On a mismatch the actual picture (in the reference's format, ready to be copied over it after
// review) and a difference picture (the reference dimmed, every differing pixel red) are
// written under <build folder>/golden-diffs/<folder>/ and their paths are in the message. A
// missing reference is written there too and the check fails until someone has looked at it.
// SULCO_UPDATE_GOLDEN=1 rewrites every reference instead (then review them before committing).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "gfx/Surface.h"

namespace testsupport {

// reference: the picture's path from the top of the source tree.
::testing::AssertionResult matchesGolden(const gfx::Surface& frame, const std::string& reference);

}  // namespace testsupport
