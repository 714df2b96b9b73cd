#include "app/output_files.h"
#include "platform/file_stamp.h"
#include "platform/file_writing.h"
#include "platform/paths.h"
#include "platform/printable_text.h"
#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct Kind {
    const char* magic;  // what a file of this kind begins with
    const char* name;   // what it is called in a refusal
};
const Kind demoKind{"vantrel-demo ", "a demo"};
const Kind pngKind{"\x89PNG\r\n\x1a\n", "a PNG picture"};

bool sameFile(const std::string& a, const std::string& b) {
    if (b.empty()) return false;
    platform::FileStamp x = platform::stampOf(a), y = platform::stampOf(b);
    return x.exists && y.exists && x.volume == y.volume && x.identity == y.identity;
}

// Whether a regular file is empty or begins as files of this kind do.
bool emptyOrOfKind(const std::string& file, const Kind& kind) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return false;
    size_t size = std::strlen(kind.magic);
    std::string head(size, '\0');
    head.resize(std::fread(head.data(), 1, size, f));
    bool unreadable = std::ferror(f);
    std::fclose(f);
    return !unreadable && (head.empty() || head == kind.magic);
}

// Why `file` may not be written; empty when it may.
std::string problemWith(const std::string& file, const Kind& kind, const CommandLine& line) {
    std::string why = platform::outputNameProblem(file);
    if (!why.empty()) return why;
    if (sameFile(file, line.levelFile)) return "it is the level file being played";
    if (sameFile(file, line.demoFile)) return "it is the demo being replayed";
    std::error_code error;
    fs::file_status status = fs::status(platform::systemPath(file), error);
    if (status.type() == fs::file_type::not_found) return {};
    if (error) return error.message();
    if (status.type() == fs::file_type::directory) return "it is a folder";
    if (status.type() != fs::file_type::regular) return "it is not a regular file";
    if (!emptyOrOfKind(file, kind))
        return std::string("it is not ") + kind.name + ", and the game writes over no other file";
    return {};
}

std::string shown(const std::string& name) { return platform::printableText(name); }

}  // namespace

std::string partialDemoName(const std::string& demoFile) { return demoFile + ".part"; }

bool outputsAllowed(const CommandLine& line, std::FILE* err) {
    bool allowed = true;
    if (!line.recordFile.empty()) {
        const std::string& file = line.recordFile;
        std::string part = partialDemoName(file);
        std::string why = problemWith(file, demoKind, line);
        if (why.empty()) {
            why = problemWith(part, demoKind, line);
            if (!why.empty()) why = shown(part) + " (where the recording goes until the game ends): " + why;
        }
        if (!why.empty()) {
            std::fprintf(err, "vantrel: cannot record into %s: %s\n", shown(file).c_str(), why.c_str());
            allowed = false;
        }
    }
    for (const CommandLine::Screenshot& shot : line.screenshots) {
        std::string why = problemWith(shot.file, pngKind, line);
        if (why.empty()) continue;
        std::fprintf(err, "vantrel: cannot write the screenshot %s: %s\n", shown(shot.file).c_str(), why.c_str());
        allowed = false;
    }
    return allowed;
}
