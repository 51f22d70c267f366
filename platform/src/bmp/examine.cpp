// ExamineBmp, the test hook that tells why the loader refuses a file: the
// same parse and decode as LoadImageA, on bytes the caller holds. They go
// through a temporary file, since the loader reads from files only.
#include "bmp/decoder.h"
#include "bmp/image.h"

#include <standin/testing.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace standin {
namespace {

// Writes `size` bytes to a new temporary file and opens it for the loader;
// the name is removed at once. False when the file cannot be made.
bool OpenAsFile(const void* bytes, std::size_t size, kernel::ReadOnlyFile* file) {
    const char* folder = std::getenv("TMPDIR");
    std::string name = std::string(folder != nullptr && folder[0] != '\0' ? folder : "/tmp") +
                       "/examine-bmp-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    const bool written = ::write(fd, bytes, size) == static_cast<ssize_t>(size);
    ::close(fd);
    const bool opened = written && file->Open(name.c_str()) == ERROR_SUCCESS;
    ::unlink(name.c_str());
    return opened;
}

}  // namespace

BmpRefusal ExamineBmp(const void* bytes, std::size_t size) {
    kernel::ReadOnlyFile file;
    if (!OpenAsFile(bytes, size, &file)) return BmpRefusal::TruncatedHeaders;
    bmp::BmpImage image;
    BmpRefusal refusal = BmpRefusal::TruncatedHeaders;
    if (!bmp::ParseBmpFile(file, &image, &refusal) || refusal != BmpRefusal::None) return refusal;
    HBITMAP bitmap = bmp::CreateBitmapFromBmp(file, image, &refusal);
    if (bitmap != nullptr) DeleteObject(bitmap);
    return refusal;
}

}  // namespace standin
