// What a test's temporary file received, as text.
#pragma once
#include <cstdio>
#include <string>

// Everything written to `file` so far; the file stays open.
std::string capturedText(std::FILE* file);
