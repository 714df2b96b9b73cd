// What the program does with its command line: help, the version, checking
// level files, or finding the data and playing.
#pragma once
#include <cstdio>

// The process exit code. Without arguments: the data is looked for, then
// the game runs as gameMain does, full-screen question included.
int runProgram(int argc, char** argv, std::FILE* out = stdout, std::FILE* err = stderr);
