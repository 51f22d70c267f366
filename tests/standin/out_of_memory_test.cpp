// Every entry point that allocates, called while each allocation through
// operator new throws std::bad_alloc: the call must return its documented
// failure value with ERROR_NOT_ENOUGH_MEMORY, throw nothing and leave
// nothing behind. This program's operator new is replaced for that; it
// passes every request to malloc while not starved.
#include "resource_guard.h"
#include "test_support.h"

#include <SaveBitmapToFile.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

// Every form of new and delete is replaced, so that all of this program's
// memory pairs malloc with free (std::stable_sort, for one, asks for
// nothrow memory). They are kept out of line: inlined, the compiler would
// see memory from new reach free and warn of a mismatch that is none here.
namespace {
std::atomic<bool> starved{false};

void* Allocate(std::size_t size) noexcept {
    return starved.load(std::memory_order_relaxed) ? nullptr : std::malloc(size == 0 ? 1 : size);
}
void* AllocateOrThrow(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
}  // namespace

[[gnu::noinline]] void* operator new(std::size_t size) { return AllocateOrThrow(size); }
[[gnu::noinline]] void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
[[gnu::noinline]] void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

using namespace testing_support;

struct StarvedCall {
    const char* name;
    std::function<bool()> failed;  // made while starved; true when it reported failure
};

TEST(OutOfMemory, EveryAllocatingCallFailsWithNotEnoughMemory) {
    ResourceGuard guard;
    TempDir dir;
    const std::string file = dir.File("a.bmp");
    Dib source = MakeDib(64, 64, 24);
    Dib target = MakeDib(32, 32, 8);
    ASSERT_TRUE(source.bitmap != nullptr && target.bitmap != nullptr);
    HDC sourceDc = CreateCompatibleDC(nullptr);
    HDC targetDc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldSource = SelectObject(sourceDc, source.bitmap);
    HGDIOBJ oldTarget = SelectObject(targetDc, target.bitmap);
    SetStretchBltMode(targetDc, HALFTONE);
    HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
    BitmapInfoBuffer rgb16 = MakeInfo(64, 64, 16);
    std::vector<std::uint8_t> pixels(64 * 64 * 2);
    Dib loose = MakeDib(64, 64, 24);  // not selected, for GetDIBits and SetDIBits
    ASSERT_NE(loose.bitmap, nullptr);
    Dib sample = MakeDib(4, 4, 24);
    ASSERT_TRUE(sample.bitmap != nullptr && SaveBitmapToFileA(file.c_str(), sample.bitmap));
    HRGN region = CreateRectRgn(0, 0, 4, 4), other = CreateRectRgn(2, 2, 6, 6);
    HBITMAP mono = CreateBitmap(32, 32, 1, 1, nullptr);
    ASSERT_NE(mono, nullptr);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(1, 2, 3));
    HGDIOBJ oldBrush = SelectObject(targetDc, hatch);  // read by the pattern operations below
    const BITMAPINFO* packed = rgb16.info();
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, 0};
    TRIVERTEX corners[2] = {{0, 0, 0xFF00, 0, 0, 0}, {32, 32, 0, 0, 0xFF00, 0}};
    GRADIENT_RECT gradient{0, 1};
    const POINT parallelogram[3] = {{0, 0}, {30, 2}, {2, 30}};
    const LOGBRUSH hatched{BS_HATCHED, RGB(9, 9, 9), HS_DIAGCROSS};

    const StarvedCall calls[] = {
        {"CreateCompatibleDC", [] { return CreateCompatibleDC(nullptr) == nullptr; }},
        {"CreateDIBSection", [&] { return CreateDIBSection(nullptr, rgb16.info(), DIB_RGB_COLORS, nullptr, nullptr, 0) == nullptr; }},
        {"CreatePen", [] { return CreatePen(PS_SOLID, 1, 0) == nullptr; }},
        {"CreateSolidBrush", [] { return CreateSolidBrush(0) == nullptr; }},
        {"StretchBlt", [&] { return !StretchBlt(targetDc, 0, 0, 32, 32, sourceDc, 0, 0, 64, 64, SRCCOPY); }},
        {"FillRect", [&] { RECT r{0, 0, 32, 32}; return FillRect(targetDc, &r, brush) == 0; }},
        {"Rectangle", [&] { return !Rectangle(targetDc, 0, 0, 32, 32); }},
        {"Ellipse", [&] { return !Ellipse(targetDc, 0, 0, 32, 32); }},
        {"Polygon", [&] { const POINT p[] = {{0, 0}, {30, 2}, {9, 30}}; return !Polygon(targetDc, p, 3); }},
        {"Pie", [&] { return !Pie(targetDc, 0, 0, 32, 32, 30, 16, 16, 0); }},
        {"FrameRect", [&] { RECT r{0, 0, 32, 32}; return FrameRect(targetDc, &r, brush) == 0; }},
        {"FloodFill", [&] { return !ExtFloodFill(targetDc, 1, 1, RGB(1, 2, 3), FLOODFILLBORDER); }},
        {"GetDIBits", [&] { return GetDIBits(sourceDc, loose.bitmap, 0, 64, pixels.data(), rgb16.info(), DIB_RGB_COLORS) == 0; }},
        {"SetDIBits", [&] { return SetDIBits(nullptr, loose.bitmap, 0, 64, pixels.data(), rgb16.info(), DIB_RGB_COLORS) == 0; }},
        {"LoadImageA", [&] { return LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE) == nullptr; }},
        {"CreateFileA", [&] { return CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) == INVALID_HANDLE_VALUE; }},
        {"HeapAlloc", [] { return HeapAlloc(GetProcessHeap(), 0, 16) == nullptr; }},
        {"GlobalAlloc, fixed", [] { return GlobalAlloc(GPTR, 16) == nullptr; }},
        {"LocalAlloc, movable", [] { return LocalAlloc(LHND, 16) == nullptr; }},
        {"CreateRectRgn", [] { return CreateRectRgn(0, 0, 1, 1) == nullptr; }},
        {"CombineRgn", [&] { return CombineRgn(region, region, other, RGN_XOR) == ERROR; }},
        {"SelectClipRgn", [&] { return SelectClipRgn(targetDc, region) == ERROR; }},
        {"CreateBitmap", [] { return CreateBitmap(8, 8, 1, 32, nullptr) == nullptr; }},
        {"CreateDIBitmap", [&] { return CreateDIBitmap(targetDc, &packed->bmiHeader, CBM_INIT, pixels.data(), packed, DIB_RGB_COLORS) == nullptr; }},
        {"CreatePatternBrush", [&] { return CreatePatternBrush(mono) == nullptr; }},
        {"CreateDIBPatternBrushPt", [&] { return CreateDIBPatternBrushPt(packed, DIB_RGB_COLORS) == nullptr; }},
        {"CreateHatchBrush", [] { return CreateHatchBrush(HS_BDIAGONAL, 0) == nullptr; }},
        {"CreateBrushIndirect", [&] { return CreateBrushIndirect(&hatched) == nullptr; }},
        {"ExtCreatePen", [&] { return ExtCreatePen(PS_GEOMETRIC | PS_DASH, 5, &hatched, 0, nullptr) == nullptr; }},
        {"CreateHalftonePalette", [&] { return CreateHalftonePalette(targetDc) == nullptr; }},
        {"PatBlt, hatched", [&] { return !PatBlt(targetDc, 0, 0, 32, 32, PATINVERT); }},
        {"StretchDIBits", [&] { return StretchDIBits(targetDc, 0, 0, 32, 32, 0, 0, 64, 64, pixels.data(), packed, DIB_RGB_COLORS, SRCCOPY) == 0; }},
        {"AlphaBlend", [&] { return !AlphaBlend(targetDc, 0, 0, 32, 32, sourceDc, 0, 0, 64, 64, blend); }},
        {"TransparentBlt", [&] { return !TransparentBlt(targetDc, 0, 0, 32, 32, sourceDc, 0, 0, 64, 64, 0); }},
        {"GradientFill", [&] { return !GradientFill(targetDc, corners, 2, &gradient, 1, GRADIENT_FILL_RECT_H); }},
        {"MaskBlt", [&] { return !MaskBlt(targetDc, 0, 0, 32, 32, sourceDc, 0, 0, mono, 0, 0, MAKEROP4(SRCCOPY, PATCOPY)); }},
        {"PlgBlt", [&] { return !PlgBlt(targetDc, parallelogram, sourceDc, 0, 0, 64, 64, nullptr, 0, 0); }},
        {"CreateFileW", [&] { return CreateFileW(u"a name too long to be kept inline.bmp", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) == INVALID_HANDLE_VALUE; }},
    };
    for (const StarvedCall& call : calls) {
        SCOPED_TRACE(call.name);
        SetLastError(0);
        starved = true;
        const bool failed = call.failed();
        starved = false;
        EXPECT_TRUE(failed);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    }

    SelectObject(sourceDc, oldSource);
    SelectObject(targetDc, oldTarget);
    SelectObject(targetDc, oldBrush);
    DeleteDC(sourceDc);
    DeleteDC(targetDc);
    DeleteObject(brush);
    DeleteObject(region);
    DeleteObject(other);
    DeleteObject(hatch);
    DeleteObject(mono);
    DeleteObject(loose.bitmap);
    DeleteObject(sample.bitmap);
    DeleteObject(source.bitmap);
    DeleteObject(target.bitmap);
}

}  // namespace
