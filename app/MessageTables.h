// The screen texts of each language, as the bytes the bitmap font draws: English, Spanish and
// German in code page 437, Russian in code page 866 (drawn with the Russian font).
#pragma once

inline constexpr int kMessageCount = 45;
inline constexpr int kLanguageCount = 4;

// Indexed by language (0 English, 1 Spanish, 2 German, 3 Russian), then by message id.
extern const char* const* const kMessageTables[kLanguageCount];
