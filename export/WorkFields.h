// The attribute table of a work file: "NAME" (the path it was saved under), "XREF" and "YREF"
// (longitude and latitude of the work's origin), one record per shape.
#pragma once

#include <string>

inline constexpr int kFieldName = 0;
inline constexpr int kFieldXref = 1;
inline constexpr int kFieldYref = 2;
inline constexpr int kNameWidth = 260;
inline constexpr int kRefWidth = 20;
inline constexpr int kRefDecimals = 16;

// The path as it fits the "NAME" field: at most width bytes, never ending inside a UTF-8
// character. shapelib makes a character field at most 255 wide, the dBASE limit, so the field
// asked for as kNameWidth holds 255.
std::string nameFieldText(const std::string& path, int width);
