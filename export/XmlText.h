// Text for XML character data: markup characters escaped, and bytes that are not well-formed
// UTF-8, or control characters XML does not allow, replaced by U+FFFD.
#pragma once

#include <string>
#include <string_view>

void appendXmlText(std::string& out, std::string_view text);
