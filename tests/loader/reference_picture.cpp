#include "reference_picture.h"

#include "test_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace testing_support {

Picture ReadPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    Picture picture;
    in >> magic >> picture.width >> picture.height >> maxValue;
    in.get();  // the single whitespace byte before the samples
    if (magic != "P6" || maxValue != 255) return {};
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    in.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    return in ? picture : Picture{};
}

Picture ReadBack(HBITMAP bitmap, int bitCount) {
    BITMAP bm{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof bm, &bm) == 0) return {};
    Picture picture{bm.bmWidth, bm.bmHeight, {}};
    for (const RGBQUAD& p : ReadPixels(bitmap, bitCount))
        picture.rgb.insert(picture.rgb.end(), {p.rgbRed, p.rgbGreen, p.rgbBlue});
    return picture;
}

int MaxDifference(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size() || a.rgb.empty()) return -1;
    int worst = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) worst = std::max(worst, std::abs(a.rgb[i] - b.rgb[i]));
    return worst;
}

}  // namespace testing_support
