// Helpers shared by the tests: temporary directories, whole-file reads and
// writes, and device-independent bitmaps with direct access to their bits.
#ifndef TEST_SUPPORT_H
#define TEST_SUPPORT_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A fresh directory under the system's temporary folder, removed with all
// its contents when the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

bool FileExists(const std::string& path);
bool MakeDirectory(const std::string& path);
std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A BITMAPINFO with room for a full colour table or three bitfield masks
// (1064 bytes). The tests keep their own: they build against the real
// platform too, which has none.
struct BitmapInfoBuffer {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
    BITMAPINFO* info() { return reinterpret_cast<BITMAPINFO*>(this); }
};

// An info header for a width x height picture (negative height: top-down),
// everything else zero.
BitmapInfoBuffer MakeInfo(LONG width, LONG height, int bitCount, DWORD compression = BI_RGB);

// A DIB section and the address of its pixels.
struct Dib {
    HBITMAP bitmap = nullptr;
    std::uint8_t* bits = nullptr;
    int stride = 0;
};

// Makes a width x height DIB section at `bitCount` bits (BI_RGB); a negative
// height makes it top-down. At 8 bits or fewer it gets `colors`, or a grey
// ramp when none are given.
Dib MakeDib(int width, int height, int bitCount, const std::vector<RGBQUAD>& colors = {});

// Reads the whole picture back through GetDIBits at `bitCount` (24 or 32)
// bits, top row first: blue, green, red and the fourth byte (0 at 24 bits).
// Empty when the read fails.
std::vector<RGBQUAD> ReadPixels(HBITMAP bitmap, int bitCount);

// The same at 24 bits, packed without padding: 3 bytes a pixel, blue, green,
// red.
std::vector<std::uint8_t> ReadPixels24(HBITMAP bitmap);

// Little-endian field readers for checking file bytes.
std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset);
std::uint16_t U16At(const std::vector<std::uint8_t>& bytes, std::size_t offset);

}  // namespace testing_support

#endif
