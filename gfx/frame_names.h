// The file names of a sprite's frames: a printf-style format applied to a
// prefix and a frame number. The formats come from level files, so only a
// shape that is safe to hand to printf is accepted.
#pragma once
#include <cstdint>
#include <string>

// Whether a frame-name format can be used safely with one string and one
// int: text, one %s (flag '-', width and precision of up to 3 digits), text,
// one of d i o u x X (flags "-+ 0#", '#' only with o x X; width and precision
// of up to 3 digits; length h or hh), text; "%%" stands for a percent sign
// anywhere.
bool validFrameNameFormat(const char* format);
// The name of frame `number`; empty when the format is not valid.
std::string frameFileName(const char* format, const char* prefix, int32_t number);
