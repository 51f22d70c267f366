// The public BMP suite through the platform loader and the module: good
// files give exactly their reference pictures, questionable and bad files
// give the outcome decided for them and leak nothing, and whatever loads
// survives a save and a load unchanged.
#include "SaveBitmapToFile.h"

#include "reference_picture.h"
#include "resource_guard.h"
#include "test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using testing_support::MaxDifference;
using testing_support::Picture;
using testing_support::ReadBack;
using testing_support::ReadPpm;
using testing_support::ResourceGuard;

const std::string kSuite = BMPSUITE_DIR;

std::vector<std::string> SuiteFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kSuite + "/" + folder))
        if (entry.path().extension() == ".bmp") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string SuitePath(const std::string& folder, const std::string& name) {
    return kSuite + "/" + folder + "/" + name + ".bmp";
}

HBITMAP LoadThroughPlatform(const std::string& path) {
    return static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

// The suite's references widen 5- and 6-bit channels by rounding v * 255 / 31
// (or / 63); the stand-in replicates bits, as GetDIBits does. The two are at
// most 1 apart.
int Tolerance(const std::string& name) { return name.rfind("rgb16", 0) == 0 ? 1 : 0; }

// Width and row count as the file's own header declares them.
bool DeclaredSize(const std::string& path, int* width, int* height) {
    std::vector<std::uint8_t> bytes = testing_support::ReadBytes(path);
    if (bytes.size() < 26) return false;
    const std::uint32_t headerSize = testing_support::U32At(bytes, 14);
    if (headerSize == 12) {
        *width = testing_support::U16At(bytes, 18);
        *height = testing_support::U16At(bytes, 20);
        return true;
    }
    const std::int32_t h = static_cast<std::int32_t>(testing_support::U32At(bytes, 22));
    *width = static_cast<std::int32_t>(testing_support::U32At(bytes, 18));
    *height = h < 0 ? -h : h;
    return true;
}

TEST(BmpSuiteGood, EveryFileLoadsWithExactlyItsReferencePixels) {
    ResourceGuard guard;
    const std::vector<std::string> names = SuiteFiles("g");
    ASSERT_EQ(names.size(), 27u);
    int exact = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const Picture expected = ReadPpm(kSuite + "/ref/" + name + ".ppm");
        ASSERT_GT(expected.width, 0);
        HBITMAP platform = LoadThroughPlatform(SuitePath("g", name));
        HBITMAP module = LoadBitmapFromFileA(SuitePath("g", name).c_str());
        ASSERT_NE(platform, nullptr);
        ASSERT_NE(module, nullptr);
        bool matches = true;
        for (HBITMAP bitmap : {platform, module}) {
            for (int bitCount : {24, 32}) {
                int difference = MaxDifference(ReadBack(bitmap, bitCount), expected);
                EXPECT_GE(difference, 0) << "size differs at " << bitCount << " bits";
                EXPECT_LE(difference, Tolerance(name)) << "read back at " << bitCount << " bits";
                matches = matches && difference >= 0 && difference <= Tolerance(name);
            }
        }
        exact += matches ? 1 : 0;
        DeleteObject(platform);
        DeleteObject(module);
    }
    EXPECT_EQ(exact, 27);
}

// What the platform loader makes of each questionable or bad file: a
// picture of the declared size, or a refusal.
enum class Outcome { Picture, Refused };

const std::map<std::string, Outcome>& DecidedOutcomes() {
    static const std::map<std::string, Outcome> outcomes = {
        // Rare but readable variants: 1-entry and 2-bit palettes, OS/2
        // headers of every length, gaps and oversized colour tables, RLE
        // with skipped pixels, odd and alpha masks, RLE24 and 64 bits.
        {"q/pal1p1", Outcome::Picture},         {"q/pal2", Outcome::Picture},
        {"q/pal2color", Outcome::Picture},      {"q/pal4rlecut", Outcome::Picture},
        {"q/pal4rletrns", Outcome::Picture},    {"q/pal8offs", Outcome::Picture},
        {"q/pal8os2-hs", Outcome::Picture},     {"q/pal8os2-sz", Outcome::Picture},
        {"q/pal8os2sp", Outcome::Picture},      {"q/pal8os2v2", Outcome::Picture},
        {"q/pal8os2v2-16", Outcome::Picture},   {"q/pal8os2v2-40sz", Outcome::Picture},
        {"q/pal8os2v2-sz", Outcome::Picture},   {"q/pal8oversizepal", Outcome::Picture},
        {"q/pal8rlecut", Outcome::Picture},     {"q/pal8rletrns", Outcome::Picture},
        {"q/rgb16-231", Outcome::Picture},      {"q/rgb16-3103", Outcome::Picture},
        {"q/rgb16faketrns", Outcome::Picture},  {"q/rgb24largepal", Outcome::Picture},
        {"q/rgb24lprof", Outcome::Picture},     {"q/rgb24prof", Outcome::Picture},
        {"q/rgb24prof2", Outcome::Picture},     {"q/rgb24rle24", Outcome::Picture},
        {"q/rgb32-111110", Outcome::Picture},   {"q/rgb32-7187", Outcome::Picture},
        {"q/rgb32-xbgr", Outcome::Picture},     {"q/rgb32fakealpha", Outcome::Picture},
        {"q/rgb32h52", Outcome::Picture},       {"q/rgba16-1924", Outcome::Picture},
        {"q/rgba16-4444", Outcome::Picture},    {"q/rgba16-5551", Outcome::Picture},
        {"q/rgba32-1", Outcome::Picture},       {"q/rgba32-1010102", Outcome::Picture},
        {"q/rgba32-2", Outcome::Picture},       {"q/rgba32-61754", Outcome::Picture},
        {"q/rgba32-81284", Outcome::Picture},   {"q/rgba32abf", Outcome::Picture},
        {"q/rgba32h56", Outcome::Picture},      {"q/rgba64", Outcome::Picture},
        // Compressions the loader does not decode: Huffman, JPEG, PNG.
        {"q/pal1huffmsb", Outcome::Refused},    {"q/rgb24jpeg", Outcome::Refused},
        {"q/rgb24png", Outcome::Refused},
        // Fields the loader does not trust (image size, file size,
        // density, colour count) or indices past the table (black).
        {"b/badbitssize", Outcome::Picture},    {"b/baddens1", Outcome::Picture},
        {"b/baddens2", Outcome::Picture},       {"b/badfilesize", Outcome::Picture},
        {"b/badpalettesize", Outcome::Picture}, {"b/pal8badindex", Outcome::Picture},
        // Impossible headers, an empty mask, runs or moves that leave the
        // picture, top-down RLE and missing rows.
        {"b/badbitcount", Outcome::Refused},    {"b/badheadersize", Outcome::Refused},
        {"b/badplanes", Outcome::Refused},      {"b/badwidth", Outcome::Refused},
        {"b/reallybig", Outcome::Refused},      {"b/rgb16-880", Outcome::Refused},
        {"b/badrle", Outcome::Refused},         {"b/badrle4", Outcome::Refused},
        {"b/badrle4bis", Outcome::Refused},     {"b/badrle4ter", Outcome::Refused},
        {"b/badrlebis", Outcome::Refused},      {"b/badrleter", Outcome::Refused},
        {"b/rletopdown", Outcome::Refused},     {"b/shortfile", Outcome::Refused},
    };
    return outcomes;
}

void ExpectDecidedOutcome(const std::string& folder, const std::string& name) {
    SCOPED_TRACE(folder + "/" + name);
    auto decided = DecidedOutcomes().find(folder + "/" + name);
    ASSERT_NE(decided, DecidedOutcomes().end()) << "no outcome decided";
    const std::string path = SuitePath(folder, name);
    int width = 0, height = 0;
    ASSERT_TRUE(DeclaredSize(path, &width, &height));

    ResourceGuard guard;
    HBITMAP platform = LoadThroughPlatform(path);
    HBITMAP module = LoadBitmapFromFileA(path.c_str());
    EXPECT_EQ(platform != nullptr, decided->second == Outcome::Picture);
    for (HBITMAP bitmap : {platform, module}) {
        if (bitmap == nullptr) continue;
        BITMAP bm{};
        EXPECT_NE(GetObjectA(bitmap, sizeof bm, &bm), 0);
        EXPECT_EQ(bm.bmWidth, width);
        EXPECT_EQ(bm.bmHeight, height);
        EXPECT_EQ(ReadBack(bitmap, 24).rgb.size(), static_cast<std::size_t>(width) * height * 3);
        DeleteObject(bitmap);
    }
}

TEST(BmpSuiteQuestionable, EveryFileGivesItsDecidedOutcomeAndLeaksNothing) {
    const std::vector<std::string> names = SuiteFiles("q");
    EXPECT_EQ(names.size(), 43u);
    for (const std::string& name : names) ExpectDecidedOutcome("q", name);
}

TEST(BmpSuiteBad, EveryFileGivesItsDecidedOutcomeAndLeaksNothing) {
    const std::vector<std::string> names = SuiteFiles("b");
    EXPECT_EQ(names.size(), 20u);
    for (const std::string& name : names) ExpectDecidedOutcome("b", name);
}

TEST(BmpSuiteRoundTrip, EveryLoadableFileSavesAndLoadsBackToTheSamePixels) {
    ResourceGuard guard;
    testing_support::TempDir dir;
    int roundTrips = 0;
    for (const char* folder : {"g", "q", "b"}) {
        for (const std::string& name : SuiteFiles(folder)) {
            SCOPED_TRACE(std::string(folder) + "/" + name);
            HBITMAP original = LoadBitmapFromFileA(SuitePath(folder, name).c_str());
            if (original == nullptr) continue;
            const std::string copy = dir.File(std::string(folder) + "-" + name + ".bmp");
            ASSERT_TRUE(SaveBitmapToFileA(copy.c_str(), original));
            HBITMAP reloaded = LoadBitmapFromFileA(copy.c_str());
            ASSERT_NE(reloaded, nullptr);
            EXPECT_EQ(MaxDifference(ReadBack(reloaded, 32), ReadBack(original, 32)), 0);
            DeleteObject(reloaded);
            DeleteObject(original);
            ++roundTrips;
        }
    }
    EXPECT_GE(roundTrips, 27);
}

}  // namespace
