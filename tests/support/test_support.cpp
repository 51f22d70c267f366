#include "test_support.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace testing_support {

TempDir::TempDir() {
    std::random_device random;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (;;) {
        std::filesystem::path candidate = base / ("halftone-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate.string();
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

bool MakeDirectory(const std::string& path) { return std::filesystem::create_directory(path); }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Dib MakeDib(int width, int height, int bitCount, const std::vector<RGBQUAD>& colors) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info;
    std::memset(&info, 0, sizeof info);
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitCount);
    info.header.biCompression = BI_RGB;
    if (bitCount <= 8) {
        int entries = 1 << bitCount;
        for (int i = 0; i < entries; ++i) {
            if (!colors.empty()) {
                info.colors[i] = colors[static_cast<std::size_t>(i) % colors.size()];
            } else {
                BYTE v = static_cast<BYTE>(i * 255 / (entries - 1));
                info.colors[i] = RGBQUAD{v, v, v, 0};
            }
        }
    }
    Dib dib;
    void* bits = nullptr;
    dib.bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                  nullptr, 0);
    dib.bits = static_cast<std::uint8_t*>(bits);
    dib.stride = (width * bitCount + 31) / 32 * 4;
    return dib;
}

std::vector<std::uint8_t> ReadPixels24(HBITMAP bitmap) {
    BITMAP bm;
    if (GetObjectA(bitmap, sizeof bm, &bm) == 0) return {};
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    std::size_t stride = (static_cast<std::size_t>(bm.bmWidth) * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> padded(stride * static_cast<std::size_t>(bm.bmHeight));
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), padded.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != bm.bmHeight) return {};
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < bm.bmHeight; ++y) {
        const std::uint8_t* row = padded.data() + stride * static_cast<std::size_t>(y);
        pixels.insert(pixels.end(), row, row + static_cast<std::size_t>(bm.bmWidth) * 3);
    }
    return pixels;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

std::uint16_t U16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

}  // namespace testing_support
