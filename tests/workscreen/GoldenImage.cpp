#include "GoldenImage.h"

#include "tests/support/GoldenImage.h"

::testing::AssertionResult matchesGolden(const std::string& name, const gfx::Surface& frame) {
    return testsupport::matchesGolden(frame, "tests/workscreen/golden/" + name + ".png");
}
