// Pictures as red, green, blue bytes, top row first: read from a binary PPM
// (the reference pixels of the BMP suite and of the encoders' files) or back
// from a bitmap, and compared channel by channel.
#ifndef TESTS_LOADER_REFERENCE_PICTURE_H
#define TESTS_LOADER_REFERENCE_PICTURE_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// A P6 file with 8-bit samples; an empty picture when it is anything else.
Picture ReadPpm(const std::string& path);

// The bitmap read back through GetDIBits at 24 or 32 bits; empty for a null
// or invalid handle.
Picture ReadBack(HBITMAP bitmap, int bitCount = 32);

// Largest difference of any channel; -1 when the sizes differ or a picture
// is empty.
int MaxDifference(const Picture& a, const Picture& b);

}  // namespace testing_support

#endif
