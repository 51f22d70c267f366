// A regular file opened for reading by the stand-in itself (the BMP loader):
// the kernel's own open, error codes and transfer loop, without a handle in
// the object table and without the fault injection of the public calls.
#ifndef STANDIN_KERNEL_READ_ONLY_FILE_H
#define STANDIN_KERNEL_READ_ONLY_FILE_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace standin {
namespace kernel {

class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens `path` and measures it. Anything but a regular file (a folder,
    // a pipe, a device) is refused with ERROR_ACCESS_DENIED; opening never
    // waits for a pipe's writer. Returns ERROR_SUCCESS or the error code.
    DWORD Open(const char* path);

    // The length when opened.
    std::uint64_t size() const { return size_; }

    // Reads `count` bytes from `offset` into `buffer`. Fewer arrive only
    // where the file ends; `*got` says how many. False on a read error.
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count, std::size_t* got) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace kernel
}  // namespace standin

#endif
