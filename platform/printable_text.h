// Text that came from a file (a level's tokens and picture names, file and
// directory names) made safe to print on a terminal: a crafted file must not
// be able to send the terminal control sequences that retitle or clear it.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// `text` as it is where it is printable: ASCII from space to '~', and valid
// UTF-8 beyond ASCII (names beyond ASCII are shown as written). Every byte of
// a C0 control (U+0000 to U+001F), DEL (U+007F), a C1 control (U+0080 to
// U+009F) and of anything that is not valid UTF-8 (a stray or missing
// continuation byte, an overlong form, a surrogate, beyond U+10FFFF) becomes
// \xNN, two capital hexadecimal digits.
std::string printableText(std::string_view text);

}  // namespace platform
