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

// The path as it fits the "NAME" field: at most kNameWidth bytes, never ending inside a UTF-8
// character.
std::string nameFieldText(const std::string& path);
