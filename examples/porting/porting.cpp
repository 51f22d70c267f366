// Win32 C++ code as a porter brings it: the same surroundings as porting.c
// seen from C++, beside the standard library (std::min and std::max,
// numeric_limits, containers and strings of TCHAR). It keeps a picture as a
// packed DIB in movable global memory, the clipboard's format for bitmaps:
// reads a bitmap's pixels into it, later locks it again and writes them
// into a second bitmap through SetDIBits, then saves and reloads that one
// under a generic-text name, and asks the screen, the window calls,
// rectangles, saved context state and a message box. Each failed check is
// printed; the program ends through ExitProcess with 1 if any failed,
// else 0.
#include <windows.h>
#include <tchar.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Check(bool passed, const char* what, int line)
{
    if (!passed) {
        std::fprintf(stderr, "porting.cpp:%d: failed: %s\n", line, what);
        ++failures;
    }
}
#define CHECK(condition) Check(static_cast<bool>(condition), #condition, __LINE__)

using tstring = std::basic_string<TCHAR>;

void CheckTypesAndMacros()
{
    // The standard library's names are untouched by <windows.h>...
    CHECK(std::min(3, 4) == 3 && (std::max)(3L, 4L) == 4L);
    CHECK(std::numeric_limits<INT32>::max() == MAXLONG);
    CHECK(std::numeric_limits<UINT16>::max() == MAXWORD);
    // ...and Win32 code's own min and max still work, mixed types included
    // (mingw-w64's headers leave them out of C++; the platform's SDK and the
    // stand-in have them).
#ifndef __MINGW32__
    const LONG width = 1920;
    const int limit = 1000;
    CHECK(min(width, limit) == 1000 && max(width, limit) == 1920);
#endif
    const LPARAM position = MAKELPARAM(-5, 7);
    CHECK(static_cast<short>(LOWORD(position)) == -5 && HIWORD(position) == 7);
    CHECK(MulDiv(10, 96, 72) == 13);
    std::vector<BYTE> bytes(16, 0xEE);
    ZeroMemory(bytes.data(), 8);
    CHECK(bytes[7] == 0 && bytes[8] == 0xEE);
    CopyMemory(bytes.data(), bytes.data() + 8, 8);
    CHECK(bytes[0] == 0xEE);
    const DWORD table[] = {1, 2, 3, 4};
    CHECK(ARRAYSIZE(table) == 4);
}

LRESULT CALLBACK Ignores(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    UNREFERENCED_PARAMETER(window);
    UNREFERENCED_PARAMETER(wParam);
    UNREFERENCED_PARAMETER(lParam);
    return static_cast<LRESULT>(message);
}

void CheckGenericText()
{
    tstring name = _T("packed");
    name += TEXT(".bmp");
    CHECK(name.size() == 10 && _tcslen(name.c_str()) == 10);
    CHECK(name == TEXT("packed.bmp"));
    CHECK(_tcsicmp(name.c_str(), _T("PACKED.bmp")) == 0);
    TCHAR copy[MAX_PATH] = {};
    _tcsncpy(copy, name.c_str(), ARRAYSIZE(copy) - 1);
    CHECK(_tcscmp(copy, name.c_str()) == 0);
    CHECK(Ignores(nullptr, 15, 0, 0) == 15);
}

// A packed DIB: the header, then the rows, in one movable block.
HGLOBAL PackBitmap(HDC dc, HBITMAP bitmap)
{
    BITMAP bm;
    if (GetObject(bitmap, sizeof bm, &bm) == 0) return nullptr;
    const DWORD stride = ((bm.bmWidth * 32 + 31) & ~31) / 8;
    const SIZE_T bytes = sizeof(BITMAPINFOHEADER) + stride * bm.bmHeight;
    HGLOBAL packed = GlobalAlloc(GHND, bytes);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(packed));
    if (header == nullptr) return nullptr;
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = bm.bmWidth;
    header->biHeight = bm.bmHeight;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    const int rows = GetDIBits(dc, bitmap, 0, bm.bmHeight, header + 1,
                               reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
    GlobalUnlock(packed);
    if (rows != bm.bmHeight) {
        GlobalFree(packed);
        return nullptr;
    }
    return packed;
}

void CheckPackedDib()
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP source = CreateCompatibleBitmap(screen, 5, 3);
    HGDIOBJ old = SelectObject(dc, source);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) SetPixel(dc, x, y, RGB(x * 50, y * 100, 7));
    SelectObject(dc, old);

    HGLOBAL packed = PackBitmap(dc, source);
    CHECK(packed != nullptr);
    CHECK(GlobalSize(packed) == sizeof(BITMAPINFOHEADER) + 5 * 4 * 3);
    CHECK((GlobalFlags(packed) & GMEM_LOCKCOUNT) == 0);

    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(packed));
    CHECK(header != nullptr && header->biWidth == 5);
    HBITMAP copy = CreateCompatibleBitmap(screen, 5, 3);
    if (header != nullptr) {
        CHECK(SetDIBits(dc, copy, 0, 3, header + 1, reinterpret_cast<BITMAPINFO*>(header),
                        DIB_RGB_COLORS) == 3);
        GlobalUnlock(packed);
    }
    CHECK(GlobalFree(packed) == nullptr);

    old = SelectObject(dc, copy);
    CHECK(GetPixel(dc, 4, 2) == RGB(200, 200, 7) && GetPixel(dc, 1, 0) == RGB(50, 0, 7));
    SelectObject(dc, old);

    // Saved and loaded under a generic-text name.
    const tstring name = TEXT("porting packed \u00fc.bmp");
    HANDLE file = CreateFile(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    CHECK(file != INVALID_HANDLE_VALUE);
    packed = PackBitmap(dc, copy);
    if (file != INVALID_HANDLE_VALUE && packed != nullptr) {
        const SIZE_T size = GlobalSize(packed);
        BITMAPFILEHEADER fileHeader = {};
        fileHeader.bfType = 0x4d42;  // "BM"
        fileHeader.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        fileHeader.bfSize = static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + size);
        DWORD written = 0;
        CHECK(WriteFile(file, &fileHeader, sizeof fileHeader, &written, nullptr));
        CHECK(WriteFile(file, GlobalLock(packed), static_cast<DWORD>(size), &written, nullptr));
        GlobalUnlock(packed);
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    GlobalFree(packed);

    HANDLE loaded = LoadImage(nullptr, name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    CHECK(loaded != nullptr);
    BITMAP bm = {};
    CHECK(GetObject(loaded, sizeof bm, &bm) == static_cast<int>(sizeof bm));
    CHECK(bm.bmWidth == 5 && bm.bmHeight == 3);
    DeleteObject(loaded);
    CHECK(DeleteFile(name.c_str()));

    DeleteObject(source);
    DeleteObject(copy);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}


// The windowless user layer and context state: one screen, described alike
// by its contexts and the system metrics; window handles fail cleanly; a
// message box goes to standard error and answers its default button.
void CheckScreenAndState()
{
    HDC screen = GetDC(nullptr);
    HDC display = CreateDC(TEXT("DISPLAY"), nullptr, nullptr, nullptr);
    HDC dc = CreateCompatibleDC(screen);
    CHECK(GetDeviceCaps(screen, HORZRES) == GetSystemMetrics(SM_CXSCREEN));
    CHECK(GetDeviceCaps(display, VERTRES) == GetSystemMetrics(SM_CYSCREEN));
    CHECK(GetDeviceCaps(dc, BITSPIXEL) == 32 && GetDeviceCaps(dc, LOGPIXELSY) == 96);

    RECT desktop = {};
    CHECK(GetWindowRect(GetDesktopWindow(), &desktop) && desktop.right == GetSystemMetrics(SM_CXSCREEN));
    SetLastError(0);
    CHECK(!InvalidateRect(reinterpret_cast<HWND>(UINT_PTR{0x1234}), nullptr, TRUE) &&
          GetLastError() == ERROR_INVALID_WINDOW_HANDLE);

    RECT a = {}, b = {}, rest = {};
    SetRect(&a, 0, 0, 10, 10);
    SetRect(&b, 0, 5, 10, 10);
    CHECK(SubtractRect(&rest, &a, &b) && rest.bottom == 5 && EqualRect(&rest, &rest));
    InflateRect(&a, -5, -5);
    CHECK(IsRectEmpty(&a));

    const int level = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SaveDC(dc);
    SetBkMode(dc, OPAQUE);
    CHECK(level == 1 && RestoreDC(dc, level) && GetBkMode(dc) == OPAQUE);
    CHECK(MessageBox(nullptr, TEXT("a message box, on standard error"), TEXT("porting.cpp"), MB_OK) == IDOK);

    DeleteDC(dc);
    DeleteDC(display);
    ReleaseDC(nullptr, screen);
}

}  // namespace

int main()
{
    CheckTypesAndMacros();
    CheckGenericText();
    CheckPackedDib();
    CheckScreenAndState();
    ExitProcess(failures == 0 ? 0 : 1);
}
