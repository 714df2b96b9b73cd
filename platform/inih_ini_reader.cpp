// The desktop build reads INI text with Debian's libinih.
#include "platform/ini_reader.h"
#include <ini.h>

namespace platform {

namespace {

struct Handing {
    IniEntry entry;
    void* user;
};

int handOver(void* user, const char* section, const char* name, const char* value) {
    const Handing& h = *static_cast<const Handing*>(user);
    return h.entry(h.user, section, name, value) ? 1 : 0;
}

}  // namespace

int readIni(const std::string& text, IniEntry entry, void* user) {
    Handing h{entry, user};
    return ini_parse_string(text.c_str(), handOver, &h);
}

}  // namespace platform
