// The program's pictures, font, sounds and icon, embedded in the executable and found by type
// and identifier: ("GIF", "166"), ("BITMAP", "133"), ("FONTS", "155"), ("WAVE", "SONIDOLEFT").
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// The resource's bytes, valid for the whole run; empty when there is no such resource.
std::span<const std::uint8_t> findResource(std::string_view type, std::string_view id);

}  // namespace platform
