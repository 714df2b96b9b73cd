// Modal message boxes owned by no window. Yes/No boxes always put Yes first,
// with Return answering Yes and Escape answering No.
//
// When no box can be shown (no display, or no helper program for boxes on
// the desktop), the caption and text go to standard error and the box is
// answered with its default button: OK, or Yes on a question.
#pragma once

namespace platform {

enum class Buttons { ok, yesNo };
enum class Icon { information, question, exclamation, stop };
enum class Answer { ok, yes, no };

// Leaves full screen first, so the box is never hidden behind the game.
Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon icon);

}  // namespace platform
