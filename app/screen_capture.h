// The frame last presented, as pixels or as a PNG file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The presented frame over the current view (the window's drawable area):
// width x height RGBA pixels, top row first. Empty without a context.
std::vector<uint8_t> presentedFrame(int& width, int& height);
// The same, written as a PNG in place of `file`, whole or not at all (see
// platform/file_writing.h); false, with the reason in `why` when given, when
// it cannot be read or written.
bool saveFramePng(const std::string& file, std::string* why = nullptr);
