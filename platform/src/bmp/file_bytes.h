// A whole file read into memory, after its size was checked against a cap.
#ifndef STANDIN_BMP_FILE_BYTES_H
#define STANDIN_BMP_FILE_BYTES_H

#include "bmp/byte_reader.h"

#include <windows.h>

#include <cstdlib>
#include <memory>

namespace standin {
namespace bmp {

struct FileBytes {
    struct Free {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t, Free> data;
    std::size_t size = 0;

    ByteSpan span() const { return ByteSpan{data.get(), size}; }
};

// Reads the regular file `path` whole. Anything that is not a regular file
// (a directory, a pipe, a device) and any file longer than `maxBytes` is
// refused before memory is allocated for it. Returns ERROR_SUCCESS or the
// error code of the failure.
DWORD ReadWholeFile(const char* path, std::size_t maxBytes, FileBytes* out);

}  // namespace bmp
}  // namespace standin

#endif
