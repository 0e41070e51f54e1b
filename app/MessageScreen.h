// Full-screen messages: the welcome, waiting and finished texts, and the Yes/No confirmation.
#pragma once

// Draws the background picture with the text and presents the frame.
void showMessageScreen(const char* text);
// The message layout with promptText and the Yes and No buttons; presents the frame.
void drawConfirmScreen();
