// Numbers for the work's attribute table, written as dBASE numeric text independent of the
// C library's locale.
#pragma once

#include <string>

// v in fixed notation, right-justified in width characters, with decimals digits after the
// point or, when that does not fit (a longitude of -100 degrees and beyond), as many as fit.
// Empty when not even the integer part fits or v is not finite.
std::string formatDbfNumber(double v, int width, int decimals);
