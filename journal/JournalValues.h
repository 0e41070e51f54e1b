// What a journal's values must be for a resume to trust them, beyond their checksums: every
// coordinate finite and inside the work's plane, every width, spacing and zoom one the program
// could have written. A record whose values are not comes from no work of this program (a bad
// card, a bit flipped before the checksum was made, another program's file): the trusted part
// ends before it, as before a torn record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "guidance/PlaneReach.h"
#include "journal/JournalReader.h"

namespace journal {

// The widest spacing a line can have: the widest implement the settings hold, 65535 cm.
inline constexpr double kWidestSpacing = 6553.5;
// The zooms the view can hold: what the buttons reach (down to a pixel of 50 m), with room to
// spare.
inline constexpr float kLowestZoom = 0.001f;
inline constexpr float kHighestZoom = 15.0f;

// Checks each record's values as the reader takes it.
class JournalValues {
  public:
    // True when the values that the record of this type has just added to the contents are
    // ones the program could have written.
    bool trusted(const JournalContents& c, std::uint8_t type);

  private:
    // The curve's points checked so far: each record of them adds some.
    std::size_t curveChecked_ = 0;
};

}  // namespace journal
