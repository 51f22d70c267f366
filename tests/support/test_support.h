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

// Reads the whole picture back as 24-bit pixels, top row first, rows packed
// without padding (3 bytes a pixel, blue, green, red).
std::vector<std::uint8_t> ReadPixels24(HBITMAP bitmap);

// Little-endian field readers for checking file bytes.
std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset);
std::uint16_t U16At(const std::vector<std::uint8_t>& bytes, std::size_t offset);

}  // namespace testing_support

#endif
