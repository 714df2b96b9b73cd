// While the sound is off, a small mark in the picture's bottom-right corner
// says so: a loudspeaker struck through, in play and on the title alike.
#pragma once

// Draws it, over whatever the frame holds, when the sound is off.
void drawSoundMark();
