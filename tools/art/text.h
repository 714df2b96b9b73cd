// Text and glyphs from a TrueType font, rendered into grey masks.
#pragma once
#include <string>

#include "canvas.h"

namespace art {

// The fonts the pictures use, from Debian's fonts-dejavu-core.
extern const char* const monoBoldFont;  // the HUD font sheet
extern const char* const sansBoldFont;  // titles and captions

// A line of UTF-8 text; pixelsPerEm is the font size in mask pixels. The
// mask's top is the font's ascent line; baseline, when given, is told the
// row of the baseline.
Mask renderText(const char* fontFile, int pixelsPerEm, const std::string& utf8, int* baseline = nullptr);
// One character alone, and where its baseline falls in the mask.
Mask renderGlyph(const char* fontFile, int pixelsPerEm, uint32_t code, int* baseline);

void startText();
void stopText();

}  // namespace art
