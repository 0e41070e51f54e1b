// Loading a saved work for a review.
#pragma once

#include <string>

// 1 when loaded, 0 when the file is not a usable work. Cuts path at its last '.'.
int readShapefileForReview(std::string& path);
