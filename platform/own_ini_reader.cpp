// The page and Windows read INI text with the game's own reader, which
// follows inih's rules (platform/ini_reader.h).
#include "platform/ini_reader.h"

namespace platform {

int readIni(const std::string& text, IniEntry entry, void* user) { return readIniAsInih(text, entry, user); }

}  // namespace platform
