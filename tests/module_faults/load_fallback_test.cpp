// The loader's own reader, reached by making the platform's image loader
// refuse the file: its acceptance rule, its refusals of files that do not
// hold what their headers promise, and its failure paths.
#include "resource_guard.h"
#include "test_support.h"

#include <SaveBitmapToFile.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace testing_support;
using standin::Call;
using standin::Fault;

namespace {

constexpr std::size_t kOffBitsField = 10;
constexpr std::size_t kSizeField = 2;

// A small, asymmetric picture saved by the writer at `bitCount` bits.
std::vector<std::uint8_t> SavedFile(int bitCount, int width = 6, int height = 5) {
    TempDir dir;
    Dib dib = MakeDib(width, height, bitCount);
    for (int i = 0; i < dib.stride * height; ++i) dib.bits[i] = static_cast<std::uint8_t>(i * 7 + 3);
    EXPECT_TRUE(SaveBitmapToFileA(dir.File("a.bmp").c_str(), dib.bitmap));
    DeleteObject(dib.bitmap);
    return ReadBytes(dir.File("a.bmp"));
}

void PutU32(std::vector<std::uint8_t>* bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Loads through the module's own reader only.
HBITMAP LoadWithoutPlatformLoader(const std::string& path) {
    standin::FailNthCall(Call::LoadImageA, 1);
    HBITMAP bitmap = LoadBitmapFromFileA(path.c_str());
    standin::ClearFaults();
    return bitmap;
}

std::vector<std::uint8_t> PixelsOf(const std::vector<std::uint8_t>& file) {
    TempDir dir;
    WriteBytes(dir.File("a.bmp"), file);
    HBITMAP bitmap = LoadWithoutPlatformLoader(dir.File("a.bmp"));
    if (bitmap == nullptr) return {};
    std::vector<std::uint8_t> pixels = ReadPixels24(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

TEST(LoadFallback, ReadsWhatTheWriterWroteAtEveryDepth) {
    for (int bitCount : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bitCount);
        TempDir dir;
        Dib dib = MakeDib(6, 5, bitCount);
        for (int i = 0; i < dib.stride * 5; ++i) dib.bits[i] = static_cast<std::uint8_t>(i * 7 + 3);
        ASSERT_TRUE(SaveBitmapToFileA(dir.File("a.bmp").c_str(), dib.bitmap));
        {
            ResourceGuard guard;
            HBITMAP loaded = LoadWithoutPlatformLoader(dir.File("a.bmp"));
            ASSERT_NE(loaded, nullptr);
            EXPECT_EQ(ReadPixels24(loaded), ReadPixels24(dib.bitmap));
            BITMAP bm;
            ASSERT_EQ(GetObjectA(loaded, sizeof bm, &bm), int(sizeof bm));
            EXPECT_EQ(bm.bmBitsPixel, bitCount);
            DeleteObject(loaded);
        }
        DeleteObject(dib.bitmap);
    }
}

struct EdgeCase {
    const char* name;
    std::function<void(std::vector<std::uint8_t>*)> mutate;
    bool loads;
};

TEST(LoadFallback, AcceptanceRuleEdges) {
    const EdgeCase cases[] = {
        {"unchanged 8-bit file, offset exactly 1078", [](auto*) {}, true},
        {"offset 1079", [](auto* f) { PutU32(f, kOffBitsField, 1079); }, false},
        {"offset 14: no header block", [](auto* f) { PutU32(f, kOffBitsField, 14); }, false},
        {"offset 15: header block shorter than an info header", [](auto* f) { PutU32(f, kOffBitsField, 15); }, false},
        {"offset 53", [](auto* f) { PutU32(f, kOffBitsField, 53); }, false},
        {"size equal to offset: no pixels", [](auto* f) { PutU32(f, kSizeField, 1078); }, false},
        {"first reserved word set", [](auto* f) { (*f)[6] = 1; }, false},
        {"second reserved word set", [](auto* f) { (*f)[9] = 1; }, false},
        {"not BM", [](auto* f) { (*f)[1] = 'A'; }, false},
        {"size beyond the end of the file", [](auto* f) { PutU32(f, kSizeField, std::uint32_t(f->size() + 1)); }, false},
        {"file cut inside the pixels", [](auto* f) { f->pop_back(); }, false},
        {"file cut inside the file header", [](auto* f) { f->resize(10); }, false},
        {"pixels fewer than the geometry needs", [](auto* f) {
             PutU32(f, 22, 6);  // six rows declared, five stored
         }, false},
        {"colour count beyond the header block", [](auto* f) {
             PutU32(f, kOffBitsField, 54 + 16 * 4);
         }, false},
        {"zero width", [](auto* f) { PutU32(f, 18, 0); }, false},
        {"height INT32_MIN", [](auto* f) { PutU32(f, 22, 0x80000000u); }, false},
        {"claims a huge pixel block", [](auto* f) { PutU32(f, kSizeField, 0xFFFFFFF0u); }, false},
    };
    const std::vector<std::uint8_t> good = SavedFile(8);
    ASSERT_EQ(U32At(good, kOffBitsField), 1078u);
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> file = good;
        c.mutate(&file);
        ResourceGuard guard;
        EXPECT_EQ(!PixelsOf(file).empty(), c.loads);
    }
}

TEST(LoadFallback, ClaimsBeyondTheFileAreRefusedBeforeAllocating) {
    std::vector<std::uint8_t> file = SavedFile(24);
    PutU32(&file, kSizeField, 1u << 30);
    TempDir dir;
    WriteBytes(dir.File("a.bmp"), file);
    ResourceGuard guard;
    standin::ClearFaults();  // also restarts the call counts
    standin::FailNthCall(Call::LoadImageA, 1);
    EXPECT_EQ(LoadBitmapFromFileA(dir.File("a.bmp").c_str()), nullptr);
    EXPECT_EQ(standin::CallCount(Call::ReadFile), 1) << "only the file header is read";
    EXPECT_EQ(standin::CallCount(Call::HeapAlloc), 0);
}

TEST(LoadFallback, MissingFileGivesNull) {
    TempDir dir;
    ResourceGuard guard;
    EXPECT_EQ(LoadWithoutPlatformLoader(dir.File("missing.bmp")), nullptr);
    EXPECT_EQ(LoadBitmapFromFileA(dir.File("missing.bmp").c_str()), nullptr);
    EXPECT_EQ(LoadBitmapFromFileA(dir.path().c_str()), nullptr);
}

TEST(LoadFallback, TopDownFileSetsEveryRowInOrder) {
    std::vector<std::uint8_t> bottomUp = SavedFile(24, 4, 3);
    const std::size_t stride = 12, offset = 54;
    std::vector<std::uint8_t> topDown = bottomUp;
    PutU32(&topDown, 22, static_cast<std::uint32_t>(-3));
    for (int y = 0; y < 3; ++y)
        std::memcpy(&topDown[offset + y * stride], &bottomUp[offset + (2 - y) * stride], stride);
    std::vector<std::uint8_t> expected = PixelsOf(bottomUp);
    ASSERT_FALSE(expected.empty());
    ResourceGuard guard;
    EXPECT_EQ(PixelsOf(topDown), expected);
}

TEST(LoadFallback, FailuresReleaseEverything) {
    struct FaultCase {
        const char* name;
        Call call;
        int nth;
        Fault fault;
    };
    const FaultCase cases[] = {
        {"open fails", Call::CreateFileA, 1, Fault::Fail},
        {"file header read fails", Call::ReadFile, 1, Fault::Fail},
        {"header block read fails", Call::ReadFile, 2, Fault::Fail},
        {"pixel read fails", Call::ReadFile, 3, Fault::Fail},
        {"file header read comes up short", Call::ReadFile, 1, Fault::ShortTransfer},
        {"header block read comes up short", Call::ReadFile, 2, Fault::ShortTransfer},
        {"pixel read comes up short", Call::ReadFile, 3, Fault::ShortTransfer},
        {"pixel buffer allocation fails", Call::HeapAlloc, 1, Fault::Fail},
        {"bitmap creation fails", Call::CreateDIBSection, 1, Fault::Fail},
        {"work context fails", Call::CreateCompatibleDC, 1, Fault::Fail},
        {"setting the pixels fails", Call::SetDIBits, 1, Fault::Fail},
    };
    TempDir dir;
    WriteBytes(dir.File("a.bmp"), SavedFile(24));
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResourceGuard guard;
        standin::FailNthCall(Call::LoadImageA, 1);
        standin::FailNthCall(c.call, c.nth, c.fault);
        EXPECT_EQ(LoadBitmapFromFileA(dir.File("a.bmp").c_str()), nullptr);
    }
}

}  // namespace
