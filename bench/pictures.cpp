#include "pictures.h"

#include <SaveBitmapToFile.h>

#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

namespace bench {
namespace {

// A small integer hash: the picture's fine texture, so that neither the
// stretch nor the peers meet long runs of equal bytes.
std::uint32_t Mix(std::uint32_t x, std::uint32_t y) {
    std::uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 12);
}

// Diagonal, horizontal and vertical ramps with a little noise on each channel.
void PaintRow(int y, int width, int bitCount, std::uint8_t* row) {
    const int pixelBytes = bitCount / 8;
    for (int x = 0; x < width; ++x, row += pixelBytes) {
        const std::uint32_t noise = Mix(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
        row[0] = static_cast<std::uint8_t>(((x + y) >> 5) + (noise & 0x1F));
        row[1] = static_cast<std::uint8_t>((x >> 4) + ((noise >> 8) & 0x1F));
        row[2] = static_cast<std::uint8_t>((y >> 4) + ((noise >> 16) & 0x1F));
        if (pixelBytes == 4) row[3] = 0;
    }
}

std::string directory = "/tmp";
std::map<std::pair<int, int>, std::unique_ptr<Canvas>> pictures;
std::map<int, std::string> files;

}  // namespace

Canvas::Canvas(int width, int height, int bitCount, bool painted)
    : width_(width), height_(height),
      stride_(static_cast<std::size_t>(width * bitCount + 31) / 32 * 4) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    bits_ = static_cast<std::uint8_t*>(bits);
    if (bits_ == nullptr) return;
    // Bottom-up: the top row of the picture is the last stored row.
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bits_ + static_cast<std::size_t>(height - 1 - y) * stride_;
        if (painted)
            PaintRow(y, width, bitCount, row);
        else
            std::memset(row, 0, stride_);  // touches every page before timing
    }
}

Canvas::~Canvas() {
    Deselect();
    if (dc_ != nullptr) DeleteDC(dc_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

void Canvas::Select() {
    if (previous_ == nullptr) previous_ = SelectObject(dc_, bitmap_);
}

void Canvas::Deselect() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
    previous_ = nullptr;
}

Canvas& SharedPicture(int side, int bitCount) {
    auto& slot = pictures[{side, bitCount}];
    if (!slot) slot = std::make_unique<Canvas>(side, side, bitCount, true);
    if (!slot->valid()) throw std::runtime_error("cannot make the benchmark picture");
    return *slot;
}

void ReleasePictures() { pictures.clear(); }

void SetPictureDirectory(const std::string& path) { directory = path; }

const std::string& PictureDirectory() { return directory; }

const std::string& PictureFile(int bitCount) {
    auto found = files.find(bitCount);
    if (found != files.end()) return found->second;
    const std::string path = directory + "/picture" + std::to_string(bitCount) + ".bmp";
    Canvas& picture = SharedPicture(kLargeSide, bitCount);
    picture.Deselect();
    if (!SaveBitmapToFileA(path.c_str(), picture.bitmap()))
        throw std::runtime_error("cannot write " + path);
    return files[bitCount] = path;
}

}  // namespace bench
