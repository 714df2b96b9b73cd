// Writing a player's files so that none is ever lost or half written. The
// bytes go to a temporary file beside the target (in its folder, so that the
// last step is a rename within one file system), are flushed to the disk, and
// only then is the complete file renamed over the target, which the system
// does at once: whoever reads the target, or the game killed at any moment,
// finds the old file whole or the new one whole. A failure at any step (the
// file cannot be made, the disk is full, the rename is refused) leaves the
// target as it was, removes the temporary file and says why. Names are UTF-8,
// as everywhere in the game.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

// A file being written in place of another.
struct FileWriting {
    std::string target;          // the name the file takes once complete
    std::string temporary;       // where its bytes go until then
    std::FILE* file = nullptr;   // open on `temporary` while the file is written
    bool keepOnFailure = false;  // a failure leaves the temporary file, with what it holds, rather
                                 // than removing it (a recording that is not finished is still worth keeping)
};

// Opens a temporary file beside `target` for writing. `temporary` names it,
// and is emptied first if it exists (the caller has made sure it holds
// nothing of the player's); an empty `temporary` takes a name that no file
// has, TARGET.NUMBER.tmp. False, with the reason in `why`, when it cannot be
// made: nothing is left behind.
bool beginWriting(FileWriting& writing, const std::string& target, const std::string& temporary, std::string& why);
// Flushes what was written to the disk, closes the file and renames it over
// the target. False, with the reason in `why`, when a step fails: the target
// is then as it was.
bool finishWriting(FileWriting& writing, std::string& why);
// Gives up: closes the file, and removes it unless keepOnFailure. The target
// is as it was.
void abandonWriting(FileWriting& writing);

// `bytes`, whole, in place of `target`, as above.
bool writeFileSafely(const std::string& target, const std::string& bytes, std::string& why);

// Why the system would not write a file of this name under the name the
// player sees (on Windows: a device such as NUL or COM1, or a name ending in a
// dot or a space, which Windows drops); empty where it would, as everywhere
// on Linux.
std::string outputNameProblem(const std::string& name);

// An advisory lock for a file that several games may read, change and write
// at the same time (a table of scores, say): each takes the lock of the file
// before it reads it and keeps it until it has written the file again, so
// that no game writes over what another added meanwhile.
//
// - The lock is TARGET.lock, a file beside the target, made when missing,
//   never written and never removed (removing it would let two games lock
//   two different files of the same name).
// - It is exclusive, and advisory: it keeps out only those who take it too.
//   Two FileLocks on the same target exclude each other, in one process as
//   in two.
// - It is let go by unlockFile, and by the system when the process ends in
//   any way, killed included, so a game that dies never keeps it.
// - In the browser page, where one game runs at a time, it is taken at once
//   and no file is made.
struct FileLock {
    intptr_t handle = -1;  // the lock file while held: a descriptor, or a HANDLE on Windows
};

// Takes the lock beside `target`, waiting up to `waitMs` for whoever holds
// it. False, with the reason in `why`, when the lock file cannot be made or
// the lock was not free in time.
bool lockFile(FileLock& lock, const std::string& target, uint32_t waitMs, std::string& why);
// Lets it go; does nothing when it is not held.
void unlockFile(FileLock& lock);

}  // namespace platform
