// Reading INI text: [sections] and name = value lines, as Debian's INI
// reader (inih) reads them with its default options:
// - a line's leading and trailing whitespace does not count; a line starting
//   with ';' or '#' is a comment, and so is the rest of a line from a ';'
//   after whitespace;
// - "name = value" or "name: value", each side trimmed; a line starting with
//   whitespace continues the value of the name before it (the entry is
//   handed over again, with that line as its value);
// - a UTF-8 byte-order mark before the first line is skipped;
// - a line holds at most 199 bytes: what follows is read as a line of its
//   own, and a section's name is cut to 49 bytes.
// The desktop build reads with Debian's libinih; the page and Windows, for
// which no build of it is at hand, with readIniAsInih, which follows the
// same rules (a test holds the two to the same results).
#pragma once
#include <string>

namespace platform {

// Called for each entry, with the section it stands in ("" before any); its
// result says whether the entry was taken.
using IniEntry = bool (*)(void* user, const char* section, const char* name, const char* value);

// 0 when every line was read and every entry taken; otherwise the number
// (from 1) of the first line that is neither a section, a setting nor a
// comment, or whose entry was not taken. Reading goes on after such a line.
// The text ends at its first NUL byte.
int readIni(const std::string& text, IniEntry entry, void* user);

// The same rules, by the game's own code, on every target.
int readIniAsInih(const std::string& text, IniEntry entry, void* user);

}  // namespace platform
