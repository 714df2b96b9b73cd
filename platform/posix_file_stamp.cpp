#include "platform/file_stamp.h"
#include <sys/stat.h>

namespace platform {

FileStamp stampOf(const std::string& systemName) {
    struct stat st;
    if (stat(systemName.c_str(), &st) != 0) return {};
    return {true, uint64_t(st.st_dev), uint64_t(st.st_ino), uint64_t(st.st_size),
            int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

}  // namespace platform
