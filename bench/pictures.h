// The pictures every benchmark works on: deterministic, so that each run and
// each peer sees the same bytes, and held as DIB sections of the stand-in.
#ifndef BENCH_PICTURES_H
#define BENCH_PICTURES_H

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace bench {

// Side of the large square picture the headline cases use.
constexpr int kLargeSide = 4096;

// A bottom-up BI_RGB DIB section and a memory device context to select it
// into. It starts out deselected: GetDIBits, SetDIBits and the file writer
// refuse a bitmap that a context holds.
class Canvas {
public:
    // `painted` fills it with the benchmark picture; otherwise it is black.
    Canvas(int width, int height, int bitCount, bool painted);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool valid() const { return bitmap_ != nullptr && dc_ != nullptr; }
    HBITMAP bitmap() const { return bitmap_; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t stride() const { return stride_; }
    const std::uint8_t* bits() const { return bits_; }
    void Select();
    void Deselect();

private:
    int width_, height_;
    std::size_t stride_;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint8_t* bits_ = nullptr;
};

// The painted square picture of this side and depth, made on first use and
// kept until ReleasePictures.
Canvas& SharedPicture(int side, int bitCount);
void ReleasePictures();

// Where the benchmark's picture files live; set once at start.
void SetPictureDirectory(const std::string& directory);
const std::string& PictureDirectory();
// The large picture at this depth stored as a BMP file in that directory
// (written on first use).
const std::string& PictureFile(int bitCount);

}  // namespace bench

#endif
