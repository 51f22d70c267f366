// Files written by ImageMagick, Pillow and netpbm (tests/data/encoders,
// remade by its make-samples script): each loads through the platform
// loader and through the module with exactly the pixels the encoders'
// independent decoders agree on, and survives a save and a reload.
#include "SaveBitmapToFile.h"

#include "reference_picture.h"
#include "resource_guard.h"
#include "test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using testing_support::MaxDifference;
using testing_support::Picture;
using testing_support::ReadBack;
using testing_support::ReadPpm;

const std::string kSamples = ENCODER_SAMPLES_DIR;

std::vector<std::string> SampleNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kSamples))
        if (entry.path().extension() == ".bmp") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(EncoderSamples, EveryFileLoadsWithItsExpectedPixelsAndSurvivesASaveAndReload) {
    testing_support::ResourceGuard guard;
    testing_support::TempDir dir;
    const std::vector<std::string> names = SampleNames();
    ASSERT_GE(names.size(), 80u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string path = kSamples + "/" + name + ".bmp";
        const Picture expected = ReadPpm(kSamples + "/expected/" + name + ".ppm");
        ASSERT_GT(expected.width, 0);
        HBITMAP platform = static_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        HBITMAP module = LoadBitmapFromFileA(path.c_str());
        const int platformDifference = MaxDifference(ReadBack(platform), expected);
        EXPECT_EQ(platformDifference, 0) << "LoadImageA";
        const int moduleDifference = MaxDifference(ReadBack(module), expected);
        EXPECT_EQ(moduleDifference, 0) << "module";

        const std::string copy = dir.File(name + ".bmp");
        EXPECT_TRUE(module != nullptr && SaveBitmapToFileA(copy.c_str(), module));
        HBITMAP reloaded = LoadBitmapFromFileA(copy.c_str());
        const int roundTrip = MaxDifference(ReadBack(reloaded), ReadBack(module));
        EXPECT_EQ(roundTrip, 0) << "round trip";
        for (HBITMAP bitmap : {platform, module, reloaded})
            if (bitmap != nullptr) DeleteObject(bitmap);
    }
}

}  // namespace
