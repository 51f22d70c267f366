// The windowless user layer: window handles (the desktop's alone names a
// window), the screen's contexts and how each is given back, one screen
// described alike by every call that reports it, and message boxes.
#include "resource_guard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

using testing_support::ResourceGuard;

constexpr int kWidth = 1920, kHeight = 1080, kDpi = 96, kBits = 32;

HWND NotAWindow() { return reinterpret_cast<HWND>(std::uintptr_t{0x12345}); }

TEST(UserLayer, EveryWindowButTheDesktopFails) {
    HWND desktop = GetDesktopWindow();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(GetDesktopWindow(), desktop);
    EXPECT_EQ(GetObjectType(desktop), 0u) << "no GDI object";

    RECT r{};
    for (auto get : {GetClientRect, GetWindowRect}) {
        ASSERT_TRUE(get(desktop, &r));
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, kWidth);
        EXPECT_EQ(r.bottom, kHeight);
        EXPECT_FALSE(get(desktop, nullptr));
    }

    // Each call given a window that does not exist, or none where one is
    // needed: the failure value and ERROR_INVALID_WINDOW_HANDLE.
    PAINTSTRUCT ps;
    const struct {
        const char* name;
        bool (*fails)(HWND);
    } calls[] = {
        {"GetClientRect", [](HWND w) { RECT q; return !GetClientRect(w, &q); }},
        {"GetWindowRect", [](HWND w) { RECT q; return !GetWindowRect(w, &q); }},
        {"GetDC", [](HWND w) { return GetDC(w) == nullptr; }},
        {"GetWindowDC", [](HWND w) { return GetWindowDC(w) == nullptr; }},
        {"GetDCEx", [](HWND w) { return GetDCEx(w, nullptr, DCX_CACHE) == nullptr; }},
        {"InvalidateRect", [](HWND w) { return !InvalidateRect(w, nullptr, TRUE); }},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(call.name);
        SetLastError(0);
        EXPECT_TRUE(call.fails(NotAWindow()));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_WINDOW_HANDLE});
    }
    for (HWND w : {NotAWindow(), desktop, static_cast<HWND>(nullptr)}) {
        SetLastError(0);
        std::memset(&ps, 0xAB, sizeof ps);
        EXPECT_EQ(BeginPaint(w, &ps), nullptr) << "the caller has no window to paint";
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_WINDOW_HANDLE});
        EXPECT_EQ(ps.hdc, nullptr);
        EXPECT_TRUE(EndPaint(w, &ps)) << "documented to succeed always";
    }
    SetLastError(0);
    RECT q;
    EXPECT_FALSE(GetClientRect(nullptr, &q));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_WINDOW_HANDLE});
    EXPECT_TRUE(InvalidateRect(nullptr, nullptr, TRUE)) << "every window: there are none";
    EXPECT_TRUE(InvalidateRect(desktop, &q, FALSE));
}

// How each screen context is made and given back; the wrong way fails.
TEST(UserLayer, ScreenContextsAndHowTheyAreGivenBack) {
    ResourceGuard guard;
    HWND desktop = GetDesktopWindow();
    const struct {
        const char* name;
        HDC (*make)(HWND);
        bool released;  // by ReleaseDC, else DeleteDC
    } makers[] = {
        {"GetDC(NULL)", [](HWND) { return GetDC(nullptr); }, true},
        {"GetDC(desktop)", [](HWND d) { return GetDC(d); }, true},
        {"GetWindowDC(NULL)", [](HWND) { return GetWindowDC(nullptr); }, true},
        {"GetDCEx(NULL)", [](HWND) { return GetDCEx(nullptr, nullptr, DCX_WINDOW | DCX_CACHE); }, true},
        {"GetDCEx(desktop)", [](HWND d) { return GetDCEx(d, nullptr, DCX_INTERSECTRGN); }, true},
        {"CreateDCA DISPLAY", [](HWND) { return CreateDCA("DISPLAY", nullptr, nullptr, nullptr); }, false},
        {"CreateICA DISPLAY", [](HWND) { return CreateICA("DISPLAY", nullptr, nullptr, nullptr); }, false},
    };
    for (const auto& m : makers) {
        SCOPED_TRACE(m.name);
        HDC dc = m.make(desktop);
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(GetObjectType(dc), DWORD{OBJ_DC});
        EXPECT_EQ(GetDeviceCaps(dc, HORZRES), kWidth);
        if (m.released) {
            EXPECT_FALSE(DeleteDC(dc));
            EXPECT_EQ(ReleaseDC(NotAWindow(), dc), 0);
            EXPECT_EQ(ReleaseDC(desktop, dc), 1);
        } else {
            EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
            EXPECT_TRUE(DeleteDC(dc));
        }
        EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 0) << "gone";
    }
    // A region to combine with the screen's would have to exist.
    EXPECT_EQ(GetDCEx(nullptr, reinterpret_cast<HRGN>(std::uintptr_t{0x4242}), DCX_INTERSECTRGN), nullptr);
}

TEST(UserLayer, DisplayNames) {
    ResourceGuard guard;
    DEVMODEA screenMode{};
    screenMode.dmSize = sizeof screenMode;
    screenMode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    screenMode.dmPelsWidth = kWidth;
    screenMode.dmPelsHeight = kHeight;
    screenMode.dmBitsPerPel = kBits;
    DEVMODEA otherMode = screenMode;
    otherMode.dmPelsWidth = 800;
    const struct {
        const char* driver;
        const char* device;
        const DEVMODEA* mode;
        DWORD error;  // NO_ERROR: the display's context
    } cases[] = {
        {"DISPLAY", nullptr, nullptr, NO_ERROR},
        {"display", nullptr, nullptr, NO_ERROR},
        {"DISPLAY", "DISPLAY", nullptr, NO_ERROR},
        {"\\\\.\\DISPLAY1", nullptr, nullptr, NO_ERROR},
        {"\\\\.\\display1", "\\\\.\\DISPLAY1", nullptr, NO_ERROR},
        {nullptr, "\\\\.\\DISPLAY1", nullptr, NO_ERROR},
        {nullptr, "DISPLAY", nullptr, NO_ERROR},
        {"DISPLAY", nullptr, &screenMode, NO_ERROR},
        {"DISPLAY", nullptr, &otherMode, ERROR_INVALID_PARAMETER},
        {"DISPLAY", "\\\\.\\DISPLAY1", nullptr, ERROR_INVALID_PRINTER_NAME},
        {"DISPLAY", "\\\\.\\DISPLAY2", nullptr, ERROR_INVALID_PRINTER_NAME},
        {"\\\\.\\DISPLAY2", nullptr, nullptr, ERROR_INVALID_PRINTER_NAME},
        {"WINSPOOL", "Epson FX-80", nullptr, ERROR_INVALID_PRINTER_NAME},
        {nullptr, "Epson FX-80", nullptr, ERROR_INVALID_PRINTER_NAME},
        {nullptr, nullptr, nullptr, ERROR_INVALID_PRINTER_NAME},
        {"DISPLAYS", nullptr, nullptr, ERROR_INVALID_PRINTER_NAME},
    };
    for (auto create : {CreateDCA, CreateICA}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.driver ? c.driver : "NULL") + " / " + (c.device ? c.device : "NULL"));
            SetLastError(0);
            HDC dc = create(c.driver, c.device, "LPT1:", c.mode);
            EXPECT_EQ(dc != nullptr, c.error == NO_ERROR);
            if (dc == nullptr) {
                EXPECT_EQ(GetLastError(), c.error);
            } else {
                EXPECT_TRUE(DeleteDC(dc));
            }
        }
    }
}

// Every context describes the one screen, and every call that reports
// the screen agrees with the others.
TEST(UserLayer, OneScreenEverywhere) {
    ResourceGuard guard;
    HDC memory = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HDC info = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_TRUE(memory && screen && display && info);
    const struct {
        int index;
        int value;
    } caps[] = {
        {TECHNOLOGY, DT_RASDISPLAY},
        {HORZRES, kWidth},
        {VERTRES, kHeight},
        {DESKTOPHORZRES, kWidth},
        {DESKTOPVERTRES, kHeight},
        {BITSPIXEL, kBits},
        {PLANES, 1},
        {LOGPIXELSX, kDpi},
        {LOGPIXELSY, kDpi},
        {HORZSIZE, 508},  // 1920 pixels at 96 to the inch
        {VERTSIZE, 286},  // 1080: 285.75 mm
        {NUMCOLORS, -1},  // more than 8 bits a pixel
        {SIZEPALETTE, 0},  // not a palette device
        {CLIPCAPS, 1},
        {SHADEBLENDCAPS, SB_CONST_ALPHA | SB_PIXEL_ALPHA},
        {PHYSICALWIDTH, 0},  // printers only
        {VREFRESH, 60},
        {1, 0},    // between indexes
        {-1, 0},   // none at all
        {999, 0},
    };
    for (HDC dc : {memory, screen, display, info}) {
        SCOPED_TRACE(GetObjectType(dc));
        for (const auto& c : caps) EXPECT_EQ(GetDeviceCaps(dc, c.index), c.value) << "index " << c.index;
        const int raster = GetDeviceCaps(dc, RASTERCAPS);
        EXPECT_EQ(raster & (RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP | RC_BITMAP64),
                  RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP | RC_BITMAP64);
        EXPECT_EQ(raster & RC_PALETTE, 0);
    }
    // A compatible bitmap has the depth the screen reports.
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 2);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel, GetDeviceCaps(screen, BITSPIXEL));
    DeleteObject(bitmap);

    SetLastError(0);
    EXPECT_EQ(GetDeviceCaps(nullptr, HORZRES), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});

    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), GetDeviceCaps(screen, HORZRES));
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), GetDeviceCaps(screen, VERTRES));
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), kWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), kHeight);
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), kWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), kHeight - GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXIMIZED), kWidth + 2 * (GetSystemMetrics(SM_CXFRAME) +
                                                              GetSystemMetrics(SM_CXPADDEDBORDER)));
    EXPECT_EQ(GetSystemMetrics(SM_MOUSEPRESENT), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(-1), 0);
    EXPECT_EQ(GetSystemMetrics(100000), 0);
    const LONG units = GetDialogBaseUnits();
    EXPECT_EQ(units & 0xFFFF, 8);
    EXPECT_EQ(units >> 16, 16);

    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_TRUE(DeleteDC(display));
    EXPECT_TRUE(DeleteDC(info));
}

TEST(UserLayer, MessageBoxWritesOneLineAndAnswersByDefault) {
    const struct {
        UINT type;
        int answer;  // 0: refused
    } cases[] = {
        {MB_OK, IDOK},
        {MB_OK | MB_DEFBUTTON2, IDOK},  // no second button: the first
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_ICONERROR, IDABORT},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {MB_YESNOCANCEL, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON4, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON4 | MB_HELP, IDYES},  // Help closes no box
        {MB_YESNO | MB_DEFBUTTON2 | MB_TOPMOST | MB_SYSTEMMODAL, IDNO},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_CANCELTRYCONTINUE, IDCANCEL},
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON2, IDTRYAGAIN},
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
        {7, 0},
        {MB_TYPEMASK, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        SetLastError(0);
        testing::internal::CaptureStderr();
        const int answer = MessageBoxA(NotAWindow(), "Saved.", "Bitmaps", c.type);
        const std::string written = testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer);
        if (c.answer == 0) {
            EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_MSGBOX_STYLE});
            EXPECT_EQ(written, "");
        } else {
            EXPECT_EQ(written, "Bitmaps: Saved.\n");
        }
    }
    const struct {
        const char* text;
        const char* caption;
        const char* line;
    } lines[] = {
        {"two\nlines", "A\r\nB", "A B: two lines\n"},
        {"cr\ronly", "c", "c: cr only\n"},
        {nullptr, "Empty", "Empty: \n"},
        {"no caption", nullptr, "Error: no caption\n"},
        {"", "", ": \n"},
    };
    for (const auto& l : lines) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(MessageBoxA(nullptr, l.text, l.caption, MB_OK), IDOK);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), l.line);
    }
}

// The wide forms convert their strings and behave as the narrow ones.
TEST(UserLayer, WideForms) {
    ResourceGuard guard;
    const WCHAR unpaired[] = {u'D', 0xD800, u'X', 0};
    DEVMODEW otherMode{};
    otherMode.dmSize = sizeof otherMode;
    otherMode.dmFields = DM_BITSPERPEL;
    otherMode.dmBitsPerPel = 8;
    DEVMODEW screenMode = otherMode;
    screenMode.dmBitsPerPel = kBits;
    const struct {
        const WCHAR* driver;
        const WCHAR* device;
        const DEVMODEW* mode;
        DWORD error;
    } cases[] = {
        {u"DISPLAY", nullptr, nullptr, NO_ERROR},
        {u"Display", nullptr, &screenMode, NO_ERROR},
        {nullptr, u"\\\\.\\DISPLAY1", nullptr, NO_ERROR},
        {u"DISPLAY", nullptr, &otherMode, ERROR_INVALID_PARAMETER},
        {u"DISPLAY", unpaired, nullptr, ERROR_INVALID_PRINTER_NAME},
        {unpaired, nullptr, nullptr, ERROR_INVALID_PRINTER_NAME},
        {u"Epson FX-80", nullptr, nullptr, ERROR_INVALID_PRINTER_NAME},
    };
    for (auto create : {CreateDCW, CreateICW}) {
        for (const auto& c : cases) {
            SetLastError(0);
            HDC dc = create(c.driver, c.device, nullptr, c.mode);
            EXPECT_EQ(dc != nullptr, c.error == NO_ERROR) << (&c - cases);
            if (dc == nullptr) {
                EXPECT_EQ(GetLastError(), c.error);
            } else {
                EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), kBits);
                EXPECT_TRUE(DeleteDC(dc));
            }
        }
    }

    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, u"Gr\u00FC\u00DFe\r\naus Z\u00FCrich", u"\u00C4", MB_YESNO | MB_DEFBUTTON2),
              IDNO);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "\xC3\x84: Gr\xC3\xBC\xC3\x9F" "e aus Z\xC3\xBCrich\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, unpaired, nullptr, MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: D\xEF\xBF\xBDX\n") << "shown as U+FFFD";
    SetLastError(0);
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", 9), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_MSGBOX_STYLE});
}

}  // namespace
