// The command line: what each option asks for, the usage errors, and what
// the program does with them, up to playing without the full-screen question.
#include "app/command_line.h"
#include "app/program.h"
#include "app/window.h"
#include "platform/testing.h"
#include "platform/video.h"
#include "support/captured.h"
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace pt = platform::testing;
using Action = CommandLine::Action;

namespace {

// argv as main gets it; getopt_long may reorder it, so each call gets a copy.
class Args {
public:
    explicit Args(std::vector<std::string> words) : words(std::move(words)) {
        this->words.insert(this->words.begin(), "vantrel");
        for (std::string& w : this->words) pointers.push_back(w.data());
        pointers.push_back(nullptr);
    }
    int argc() const { return int(words.size()); }
    char** argv() { return pointers.data(); }

private:
    std::vector<std::string> words;
    std::vector<char*> pointers;
};

CommandLine parse(std::vector<std::string> words) {
    Args args(std::move(words));
    return parseCommandLine(args.argc(), args.argv());
}

// runProgram with its two streams captured.
struct ProgramRun {
    int status;
    std::string out, err;
};

std::string contents(std::FILE* file) {
    std::string text = capturedText(file);
    std::fclose(file);
    return text;
}

ProgramRun run(std::vector<std::string> words) {
    Args args(std::move(words));
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    int status = runProgram(args.argc(), args.argv(), out, err);
    return {status, contents(out), contents(err)};
}

// The options a table lists, each with its argument: "-w", "--window",
// "--datadir DIR", ...
using OptionWords = std::set<std::string>;

// Adds the options of one heading such as "-w, --window" or "--datadir DIR".
void addOptions(const std::string& heading, OptionWords& options) {
    std::istringstream in(heading);
    std::vector<std::string> found;
    for (std::string word; in >> word;) {
        if (word.back() == ',') word.pop_back();
        if (word.starts_with("-"))
            found.push_back(word);
        else if (!found.empty() && found.back().find(' ') == std::string::npos)
            found.back() += " " + word;
    }
    options.insert(found.begin(), found.end());
}

// --help's table: a line that starts with spaces and a dash holds the
// options up to the gap before their description.
OptionWords helpOptions() {
    OptionWords options;
    std::istringstream in(helpText());
    for (std::string line; std::getline(in, line);) {
        size_t start = line.find_first_not_of(' ');
        if (start == 0 || start == std::string::npos || line[start] != '-') continue;
        addOptions(line.substr(start, line.find("  ", start) - start), options);
    }
    return options;
}

// The roff of a heading as it reads: "\-" is a dash, "\fB" and the like
// change the font, and a macro line such as .BR gives its arguments.
std::string roffText(const std::string& line) {
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line.compare(i, 2, "\\-") == 0) {
            text += '-';
            ++i;
        } else if (line.compare(i, 2, "\\f") == 0 && i + 2 < line.size()) {
            i += 2;
        } else if (line[i] != '"') {
            text += line[i];
        }
    }
    if (text.starts_with(".")) text.erase(0, text.find(' '));
    return text;
}

// The manual page's OPTIONS: the line after each .TP, up to the next section.
OptionWords manualPageOptions() {
    OptionWords options;
    std::ifstream page(VANTREL_SOURCE_DIR "/dist/vantrel.6.in");
    bool inOptions = false, heading = false;
    for (std::string line; std::getline(page, line);) {
        if (line.starts_with(".SH")) inOptions = line == ".SH OPTIONS";
        else if (inOptions && heading) addOptions(roffText(line), options);
        heading = inOptions && line == ".TP";
    }
    return options;
}

std::string joined(const OptionWords& words) {
    std::string text;
    for (const std::string& word : words) text += " '" + word + "'";
    return text;
}

}  // namespace

TEST(Options, EachAsksForWhatItSays) {
    EXPECT_EQ(parse({}).action, Action::play);
    EXPECT_EQ(parse({}).screen, StartScreen::ask);
    EXPECT_EQ(parse({"--window"}).screen, StartScreen::window);
    EXPECT_EQ(parse({"-w"}).screen, StartScreen::window);
    EXPECT_EQ(parse({"--fullscreen"}).screen, StartScreen::fullScreen);
    EXPECT_EQ(parse({"-f"}).screen, StartScreen::fullScreen);
    EXPECT_EQ(parse({"-f", "-w"}).screen, StartScreen::window);  // the last one counts
    EXPECT_EQ(parse({"--datadir", "/opt/x"}).dataDirectory, "/opt/x");
    EXPECT_EQ(parse({"--datadir=/opt/y"}).dataDirectory, "/opt/y");
    EXPECT_EQ(parse({"--quit-after", "25"}).quitAfterFrames, 25);
    EXPECT_EQ(parse({"--help"}).action, Action::help);
    EXPECT_EQ(parse({"-h", "--bogus"}).action, Action::usageError);  // an error wins over help
    EXPECT_EQ(parse({"--version"}).action, Action::version);
    EXPECT_EQ(parse({"--level", "0"}).startLevel, 0);
    EXPECT_TRUE(parse({"-f", "--stretch"}).stretch);
    EXPECT_FALSE(parse({"-f"}).stretch);
    CommandLine demo = parse({"--play-demo", "d", "--screenshot-at", "12:a:b.png", "--screenshot-at", "3:c.png"});
    ASSERT_EQ(demo.screenshots.size(), 2u);
    EXPECT_EQ(demo.screenshots[0].frame, 12);
    EXPECT_EQ(demo.screenshots[0].file, "a:b.png");  // split at the first colon
}

TEST(Options, CheckLevelTakesEveryFileOnTheLineWhereverTheOptionsStand) {
    CommandLine line = parse({"a.lvl.txt", "--check-level", "b.lvl.txt", "--datadir", "d", "c.lvl.txt"});
    EXPECT_EQ(line.action, Action::checkLevels);
    EXPECT_EQ(line.levelFiles, (std::vector<std::string>{"a.lvl.txt", "b.lvl.txt", "c.lvl.txt"}));
    EXPECT_EQ(line.dataDirectory, "d");
    // After "--" even a name that looks like an option is a file.
    EXPECT_EQ(parse({"--check-level", "--", "-odd.lvl.txt"}).levelFiles, std::vector<std::string>{"-odd.lvl.txt"});
}

TEST(Options, MistakesAreUsageErrorsThatNameTheWord) {
    struct Case {
        std::vector<std::string> words;
        std::string said;
    } cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-x"}, "unknown option '-x'"},
        {{"-wx"}, "unknown option '-x'"},
        {{"--window=3"}, "'--window=3'"},
        {{"--datadir"}, "option '--datadir' needs an argument"},
        {{"--quit-after", "soon"}, "'soon'"},
        {{"--quit-after", "0"}, "'0'"},
        {{"--quit-after", "99999999999"}, "'99999999999'"},
        {{"level0.lvl.txt"}, "unexpected argument 'level0.lvl.txt'"},
        {{"--check-level"}, "--check-level wants the level files"},
        {{"--level", "-1"}, "'-1'"},
        {{"--level", "1", "--level-file", "f"}, "cannot be given together"},
        {{"--play-demo", "d", "--level", "2"}, "takes no --level"},
        {{"--screenshot-at", "5:x.png"}, "wants --play-demo"},
        {{"--play-demo", "d", "--screenshot-at", "x.png"}, "FRAME:FILE.png"},
    };
    for (const Case& c : cases) {
        CommandLine line = parse(c.words);
        EXPECT_EQ(line.action, Action::usageError) << c.words[0];
        EXPECT_NE(line.error.find(c.said), std::string::npos) << line.error;
    }
}

TEST(Program, HelpAndVersionGoToStandardOutputAndEndWithZero) {
    ProgramRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--window", "--fullscreen", "--datadir", "--check-level", "--version", "VANTREL_DATADIR"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_EQ(help.err, "");
    ProgramRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("vantrel ", 0), 0u) << version.out;
    EXPECT_TRUE(pt::shownBoxes().empty());
}

// The manual page is written by hand; this keeps it from drifting from
// --help, down to each option's argument.
TEST(Program, TheManualPageListsTheOptionsThatHelpLists) {
    OptionWords help = helpOptions(), page = manualPageOptions();
    EXPECT_TRUE(help.contains("--datadir DIR")) << joined(help);  // the table was read at all
    EXPECT_EQ(help, page) << "--help:" << joined(help) << "\nvantrel.6.in:" << joined(page);
}

TEST(Program, AUsageErrorEndsWithTwoAndPointsToHelp) {
    ProgramRun r = run({"--fulscreen"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("unknown option '--fulscreen'"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("vantrel --help"), std::string::npos) << r.err;
    EXPECT_EQ(pt::windowsOpened(), 0u);
}

TEST(Program, WindowSkipsTheQuestionAndQuitAfterEndsAsEscDoes) {
    platform::setVerticalSync(true);  // as in a real start, which --no-vsync turns off
    ProgramRun r = run({"--window", "--no-vsync", "--quit-after", "3", "--datadir", VANTREL_SOURCE_DIR});
    EXPECT_EQ(r.status, 27);
    EXPECT_TRUE(pt::shownBoxes().empty());
    EXPECT_FALSE(fullScreen);
    EXPECT_EQ(pt::windowsOpened(), 1u);
    EXPECT_GE(pt::swapCount(), 3u);
    EXPECT_EQ(pt::pacing().swapInterval, 0);  // --no-vsync reached the context
    EXPECT_EQ(r.err, "");  // the data was found
}

TEST(Program, FullScreenSkipsTheQuestionToo) {
    fullScreen = false;
    pt::injectMessage({platform::MessageKind::close, 0, 0});
    EXPECT_EQ(run({"-f", "--datadir", VANTREL_SOURCE_DIR}).status, 0);
    EXPECT_TRUE(pt::shownBoxes().empty());
    EXPECT_TRUE(fullScreen);
}

TEST(Program, WithoutArgumentsTheQuestionIsAskedAsBefore) {
    setenv("VANTREL_DATADIR", VANTREL_SOURCE_DIR, 1);
    pt::scriptAnswers({platform::Answer::no});
    pt::injectMessage({platform::MessageKind::close, 0, 0});
    ProgramRun r = run({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(pt::shownBoxes().size(), 1u);
    EXPECT_EQ(pt::shownBoxes()[0].caption, "Start FullScreen?");
    EXPECT_FALSE(fullScreen);
}

TEST(Program, WithoutDataItSaysWhereItLookedAndPlaysOn) {
    unsetenv("VANTREL_DATADIR");
    ProgramRun r = run({"-w", "--quit-after", "2", "--datadir", "/nonexistent/vantrel"});
    EXPECT_EQ(r.status, 27);
    EXPECT_NE(r.err.find("--datadir names /nonexistent/vantrel"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("/nonexistent/vantrel/data/level0.lvl.txt  (--datadir)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("data/level0.lvl.txt  (the current directory)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("starting without pictures or levels"), std::string::npos) << r.err;
}
