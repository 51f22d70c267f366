// CreateDIBSection's checks of the description it is given, and what
// GetObjectA reports of the bitmaps it makes.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>

using namespace testing_support;

namespace {

// Puts bitfield masks where a 40-byte info header's colour table starts.
void SetMasks(BitmapInfoBuffer* info, DWORD red, DWORD green, DWORD blue) {
    const DWORD masks[3] = {red, green, blue};
    std::memcpy(info->colors, masks, sizeof masks);
}

HBITMAP Create(const BitmapInfoBuffer& info, void** bits = nullptr) {
    return CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, bits,
                            nullptr, 0);
}

TEST(DibSection, RefusesInvalidDescriptionsBeforeAllocating) {
    struct Case {
        const char* name;
        std::function<void(BitmapInfoBuffer*)> mutate;
    };
    const Case cases[] = {
        {"header size 12", [](auto* i) { i->header.biSize = 12; }},
        {"header size 39", [](auto* i) { i->header.biSize = 39; }},
        {"two planes", [](auto* i) { i->header.biPlanes = 2; }},
        {"bit count 0", [](auto* i) { i->header.biBitCount = 0; }},
        {"bit count 2", [](auto* i) { i->header.biBitCount = 2; }},
        {"bit count 64", [](auto* i) { i->header.biBitCount = 64; }},
        {"run-length compression", [](auto* i) { i->header.biCompression = BI_RLE8; }},
        {"PNG compression", [](auto* i) { i->header.biCompression = BI_PNG; }},
        {"bitfields at 24 bits", [](auto* i) { i->header.biCompression = BI_BITFIELDS; }},
        {"zero width", [](auto* i) { i->header.biWidth = 0; }},
        {"negative width", [](auto* i) { i->header.biWidth = -4; }},
        {"zero height", [](auto* i) { i->header.biHeight = 0; }},
        {"height INT_MIN", [](auto* i) { i->header.biHeight = INT_MIN; }},
        {"width beyond the limit", [](auto* i) { i->header.biWidth = 1 << 20; }},
        {"absurd area", [](auto* i) { i->header.biWidth = 60000; i->header.biHeight = -60000; }},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BitmapInfoBuffer info = MakeInfo(4, 4, 24);
        c.mutate(&info);
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(Create(info, &bits), nullptr);
        EXPECT_EQ(bits, nullptr) << "the pixel address is cleared on failure";
    }
}

TEST(DibSection, ChecksBitfieldMasksAndColourCounts) {
    struct Case {
        WORD bitCount;
        DWORD red, green, blue;
        bool valid;
    };
    const Case cases[] = {
        {16, 0xF800, 0x07E0, 0x001F, true},   {16, 0x7C00, 0x03E0, 0x001F, true},
        {32, 0xFF0000, 0xFF00, 0xFF, true},   {32, 0x3FF00000, 0xFFC00, 0x3FF, true},
        {16, 0, 0x07E0, 0x001F, false},       {16, 0xF800, 0xF800, 0x001F, false},
        {16, 0xF801, 0x07E0, 0x001E, true} /* gaps are taken */, {16, 0x1F0000, 0x07E0, 0x001F, false},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        BitmapInfoBuffer info = MakeInfo(3, 3, c.bitCount, BI_BITFIELDS);
        SetMasks(&info, c.red, c.green, c.blue);
        HBITMAP bitmap = Create(info);
        EXPECT_EQ(bitmap != nullptr, c.valid) << std::hex << c.red << " " << c.green << " " << c.blue;
        DeleteObject(bitmap);
    }
    BitmapInfoBuffer palette = MakeInfo(3, 3, 4);
    palette.header.biClrUsed = 17;
    EXPECT_EQ(Create(palette), nullptr) << "more colours than 4 bits can index";
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&palette), DIB_PAL_COLORS, nullptr,
                               nullptr, 0),
              nullptr)
        << "palette indices without a context";
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST(DibSection, ReportsPaddedRowsAndZeroedPixels) {
    struct Case {
        int width;
        WORD bitCount;
        LONG stride;
    };
    const Case cases[] = {{1, 1, 4},  {33, 1, 8},  {9, 4, 8},   {5, 8, 8},  {3, 16, 8},
                          {2, 16, 4}, {1, 24, 4},  {5, 24, 16}, {47, 24, 144}, {3, 32, 12}};
    ResourceGuard guard;
    for (const Case& c : cases) {
        for (LONG height : {3, -3}) {
            SCOPED_TRACE(::testing::Message() << c.width << "x" << height << "@" << c.bitCount);
            void* bits = nullptr;
            HBITMAP bitmap = Create(MakeInfo(c.width, height, c.bitCount), &bits);
            ASSERT_NE(bitmap, nullptr);
            DIBSECTION ds;
            ASSERT_EQ(GetObjectA(bitmap, sizeof ds, &ds), int(sizeof ds));
            EXPECT_EQ(ds.dsBm.bmWidth, c.width);
            EXPECT_EQ(ds.dsBm.bmHeight, 3) << "heights are reported positive";
            EXPECT_EQ(ds.dsBm.bmWidthBytes, c.stride);
            EXPECT_EQ(ds.dsBm.bmBitsPixel, c.bitCount);
            EXPECT_EQ(ds.dsBm.bmPlanes, 1);
            EXPECT_EQ(ds.dsBm.bmBits, bits);
            EXPECT_EQ(ds.dsBmih.biHeight, 3) << "positive, whatever the row order";
            EXPECT_EQ(ds.dsBmih.biSizeImage, DWORD(c.stride * 3));
            const std::uint8_t* p = static_cast<const std::uint8_t*>(bits);
            for (LONG i = 0; i < c.stride * 3; ++i) ASSERT_EQ(p[i], 0);
            BITMAP bm;
            EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), int(sizeof bm));
            EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), int(sizeof bm));
            EXPECT_EQ(GetObjectA(bitmap, sizeof bm - 1, &bm), 0) << "buffer too small";
            DeleteObject(bitmap);
        }
    }
}

// The colour masks GetObjectA reports: a bitfield section's own, the
// BI_RGB layouts above 8 bits (5-5-5 at 16, 8-8-8 at 32), none below.
TEST(DibSection, ReportsTheColourMasksOfItsFormat) {
    struct Case {
        WORD bitCount;
        DWORD compression;
        DWORD masks[3];
    };
    const Case cases[] = {
        {16, BI_RGB, {0x7C00, 0x03E0, 0x001F}},
        {32, BI_RGB, {0xFF0000, 0x00FF00, 0x0000FF}},
        {16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
        {32, BI_BITFIELDS, {0x0000FF, 0x00FF00, 0xFF0000}},
        {8, BI_RGB, {0, 0, 0}},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.bitCount << " bits, compression " << c.compression);
        BitmapInfoBuffer info = MakeInfo(2, 2, c.bitCount, c.compression);
        if (c.compression == BI_BITFIELDS) SetMasks(&info, c.masks[0], c.masks[1], c.masks[2]);
        HBITMAP bitmap = Create(info);
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION ds;
        ASSERT_EQ(GetObjectA(bitmap, sizeof ds, &ds), int(sizeof ds));
        EXPECT_EQ(ds.dsBitfields[0], c.masks[0]);
        EXPECT_EQ(ds.dsBitfields[1], c.masks[1]);
        EXPECT_EQ(ds.dsBitfields[2], c.masks[2]);
        DeleteObject(bitmap);
    }
}

}  // namespace
