// The work screen's reviewed reference frames, tests/workscreen/golden/<name>.png, compared
// through the tests' one comparer (tests/support/GoldenImage.h): pixel for pixel, the actual
// and diff pictures of a mismatch under the build folder's golden-diffs/workscreen/.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "gfx/Surface.h"

::testing::AssertionResult matchesGolden(const std::string& name, const gfx::Surface& frame);
