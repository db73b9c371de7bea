// Whole-file reading with the Windows file functions, over POSIX descriptors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Win32.h"

namespace {

int DescriptorOf(HANDLE handle) {
    return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
}

bool IsValid(HANDLE handle) {
    return handle != INVALID_HANDLE_VALUE && DescriptorOf(handle) >= 0;
}

}  // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD, void*, DWORD disposition, DWORD, HANDLE) {
    if (name == nullptr || access != GENERIC_READ || disposition != OPEN_EXISTING) {
        return INVALID_HANDLE_VALUE;
    }
    const int fd = open(name, O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {  // directories, devices, pipes
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    return HandleOf(fd);
}

DWORD GetFileSize(HANDLE file, DWORD* high) {
    struct stat info {};
    if (!IsValid(file) || fstat(DescriptorOf(file), &info) != 0) return INVALID_FILE_SIZE;
    const auto size = static_cast<uint64_t>(info.st_size);
    if (high != nullptr) *high = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* done, void*) {
    if (done != nullptr) *done = 0;
    if (!IsValid(file) || (buffer == nullptr && count != 0)) return FALSE;
    auto* out = static_cast<unsigned char*>(buffer);
    DWORD total = 0;
    while (total < count) {
        const ssize_t got = read(DescriptorOf(file), out + total, count - total);
        if (got < 0) {
            if (errno == EINTR) continue;
            if (done != nullptr) *done = total;
            return FALSE;
        }
        if (got == 0) break;  // end of file
        total += static_cast<DWORD>(got);
    }
    if (done != nullptr) *done = total;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    if (!IsValid(handle)) return FALSE;
    return close(DescriptorOf(handle)) == 0 ? TRUE : FALSE;
}
