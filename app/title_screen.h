// The title: its picture, and in turn with it the high-score table of this
// game's start when the table has entries (the picture for 8 s, the table
// for 6 s, from when the title appears), as arcade games show theirs. While
// the table shows, 1 to 9 and 0 replay its games in the window, at the
// display's pace; ESC returns to the title. SPACE starts play from either.
#pragma once
#include <cstdint>
#include <cstdio>

void drawTitle();
// A frame drew something else: the title, when it shows again, begins with
// its picture.
void titleLeft();

// A key pressed on the title; true when it asked for a game of the table.
bool titleKeyPressed(uint8_t key);

// Once the frame is presented: the game asked for, if any, is watched (its
// end line on `out` when it plays to its end), and then the game starts
// afresh on its title, as a program does. False when the window was closed
// while watching: the program ends.
bool watchAskedGame(std::FILE* out, std::FILE* err);
