// The screen state machine: every message of the main window goes through windowProc.
#pragma once

#include <cstdint>

#include "platform/WindowMessage.h"

// Handles destroy, paint, character and pen-down (lParam: x low, y high, both signed 16-bit);
// returns 0 for them and for every other message.
std::intptr_t windowProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

// Ends a running review and waits for its thread.
void stopReview();
