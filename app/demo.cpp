#include "app/demo.h"

bool startRecording(const CommandLine&, std::FILE* err) {
    std::fputs("vantrel: recording is not built yet\n", err);
    return false;
}

void noteLevelReplaced(const std::string&) {}

void finishRecording(std::FILE*) {}

int playDemo(const CommandLine&, std::FILE*, std::FILE* err) {
    std::fputs("vantrel: replaying is not built yet\n", err);
    return 1;
}
