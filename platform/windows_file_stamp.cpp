// File stamps on Windows: the volume's serial number and the file's index on
// it play the part of a device and an inode. The file is opened to ask, with
// every sharing flag, so that an editor writing it at that moment is not
// disturbed.
#include "platform/file_stamp.h"
#include <windows.h>

namespace platform {

FileStamp stampOf(const std::string& systemName) {
    HANDLE file = CreateFileA(systemName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info;
    bool known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!known) return {};
    auto join = [](DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; };
    // Written times count 100 ns steps.
    return {true, info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
            join(info.nFileSizeHigh, info.nFileSizeLow),
            int64_t(join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)) * 100};
}

}  // namespace platform
