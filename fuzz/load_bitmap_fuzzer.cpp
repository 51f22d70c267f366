// Fuzz target: any bytes, stored as a file, through the module's loader
// (the platform loader first, then the module's own reader). Every bitmap
// that comes back is read back and deleted; any GDI object, heap block or
// file handle left behind aborts the run as a finding.
#include "SaveBitmapToFile.h"

#include <standin/testing.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// One scratch file per fuzzing process, in a private temporary directory.
struct ScratchFile {
    std::string directory;
    std::string path;

    ScratchFile() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") +
                              "/load-bitmap-fuzz-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) == nullptr) std::abort();
        directory = buffer.data();
        path = directory + "/input.bmp";
    }
    ~ScratchFile() {
        std::remove(path.c_str());
        rmdir(directory.c_str());
    }
};

ScratchFile& Scratch() {
    static ScratchFile scratch;
    return scratch;
}

void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    if (std::fclose(file) != 0) std::abort();
}

// Reads the top and bottom rows back at 32 bits into a one-row buffer:
// enough to touch both ends of the pixel block without scanning (or
// allocating for) a huge picture.
void ReadEdgeRows(HBITMAP bitmap) {
    BITMAP bm;
    if (GetObjectA(bitmap, sizeof bm, &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0) std::abort();
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bm.bmWidth) * 4);
    HDC dc = CreateCompatibleDC(nullptr);
    for (UINT line : {0u, static_cast<UINT>(bm.bmHeight - 1)})
        if (GetDIBits(dc, bitmap, line, 1, row.data(), &info, DIB_RGB_COLORS) != 1) std::abort();
    DeleteDC(dc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = Scratch().path;
    WriteInput(path, data, size);
    const std::size_t objects = standin::LiveGdiObjects();
    const std::size_t blocks = standin::LiveHeapBlocks();
    const std::size_t files = standin::OpenFiles();

    HBITMAP bitmap = LoadBitmapFromFileA(path.c_str());
    if (bitmap != nullptr) {
        ReadEdgeRows(bitmap);
        if (!DeleteObject(bitmap)) std::abort();
    }
    if (standin::LiveGdiObjects() != objects || standin::LiveHeapBlocks() != blocks ||
        standin::OpenFiles() != files)
        std::abort();
    return 0;
}
