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

BitmapInfoBuffer MakeInfo(LONG width, LONG height, int bitCount, DWORD compression) {
    BitmapInfoBuffer info;
    std::memset(&info, 0, sizeof info);
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitCount);
    info.header.biCompression = compression;
    return info;
}

Dib MakeDib(int width, int height, int bitCount, const std::vector<RGBQUAD>& colors) {
    BitmapInfoBuffer info = MakeInfo(width, height, bitCount);
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
    dib.bitmap = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    dib.bits = static_cast<std::uint8_t*>(bits);
    dib.stride = (width * bitCount + 31) / 32 * 4;
    return dib;
}

std::vector<RGBQUAD> ReadPixels(HBITMAP bitmap, int bitCount) {
    BITMAP bm;
    if (GetObjectA(bitmap, sizeof bm, &bm) == 0) return {};
    BitmapInfoBuffer info = MakeInfo(bm.bmWidth, -bm.bmHeight, bitCount);  // top row first
    const std::size_t stride = (static_cast<std::size_t>(bm.bmWidth) * bitCount + 31) / 32 * 4;
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(bm.bmHeight));
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), rows.data(), info.info(), DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != bm.bmHeight) return {};
    std::vector<RGBQUAD> pixels;
    for (int y = 0; y < bm.bmHeight; ++y) {
        const std::uint8_t* px = rows.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < bm.bmWidth; ++x, px += bitCount / 8)
            pixels.push_back(RGBQUAD{px[0], px[1], px[2], bitCount == 32 ? px[3] : BYTE{0}});
    }
    return pixels;
}

std::vector<std::uint8_t> ReadPixels24(HBITMAP bitmap) {
    std::vector<std::uint8_t> bytes;
    for (const RGBQUAD& p : ReadPixels(bitmap, 24)) bytes.insert(bytes.end(), {p.rgbBlue, p.rgbGreen, p.rgbRed});
    return bytes;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

std::uint16_t U16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

}  // namespace testing_support
