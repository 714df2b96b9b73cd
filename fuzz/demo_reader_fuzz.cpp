// Feeds arbitrary bytes to the demo reader as a replay reads them: the
// header, a survey of the records, then every record up to the last whole
// frame, checking that what it hands out stays within what it promised.
#include "app/demo_file.h"
#include "game/level_file.h"
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    DemoReader reader;
    DemoHeader header;
    if (!reader.readHeader(bytes, header)) return 0;
    if (header.levelHashes.size() > maxDemoLevels || header.ownLevelText.size() > maxLevelTextSize) std::abort();
    DemoSurvey survey = surveyDemo(bytes, reader.offset);
    if (survey.wholeEnd > bytes.size() || survey.wholeEnd < reader.offset) std::abort();
    reader.end = survey.wholeEnd;
    DemoRecord record;
    uint64_t frames = 0;
    while (reader.next(record)) {
        if (record.kind == RecordKind::frame) ++frames;
        // A replay is handed only what a recording holds: never a window size.
        if (record.kind == RecordKind::message && (record.message.kind == platform::MessageKind::size ||
                                                   uint32_t(record.message.kind) > uint32_t(platform::MessageKind::pause)))
            std::abort();
    }
    // Up to the end of its whole frames, the survey and the reader agree.
    if (reader.offset != survey.wholeEnd || frames != survey.frames) std::abort();
    return 0;
}
