/*
 * Win32 C code as a porter brings it: generic text, the integer types and
 * macros every Win32 file assumes, global and local memory, and files,
 * bitmaps and images through the unsuffixed names (the A forms, or the W
 * forms when built with UNICODE and _UNICODE). It draws a small picture,
 * saves it as a BMP file the way the platform's documentation does
 * (GetDIBits into global memory, then CreateFile and WriteFile), loads it
 * back with LoadImage and checks what it finds; then asks the screen, the
 * window calls, rectangles, saved context state and a message box. Each failed check is printed;
 * the program ends through ExitProcess with 1 if any failed, else 0.
 */
#include <windows.h>
#include <tchar.h>

#include <stdio.h>

static int failures;

static void Check(BOOL passed, const char *what, int line)
{
    if (!passed) {
        fprintf(stderr, "porting.c:%d: failed: %s\n", line, what);
        ++failures;
    }
}
#define CHECK(condition) Check((condition) ? TRUE : FALSE, #condition, __LINE__)

static void CheckTypesAndMacros(void)
{
    DWORD packed = MAKELONG(0x1234, 0xABCD);
    LPARAM position = MAKELPARAM(640, 480);
    WORD word = MAKEWORD(0x34, 0x12);
    UINT32 all = 0xFFFFFFFFu;
    INT64 wide = (INT64)all * 4;
    INT32 negative = -5;
    UCHAR byte = 200;
    LONG_PTR minusOne = -1;
    UINT_PTR address = (UINT_PTR)&packed;
    DWORD_PTR one = 1;
    SIZE_T rectBytes = sizeof(RECT);
    int numbers[] = {3, 9, 4};

    CHECK(LOWORD(packed) == 0x1234 && HIWORD(packed) == 0xABCD);
    CHECK(LOWORD(position) == 640 && HIWORD(position) == 480);
    CHECK(LOBYTE(word) == 0x34 && HIBYTE(word) == 0x12);
    CHECK(wide == 0x3FFFFFFFCLL && negative < 0 && byte == 200);
    CHECK(sizeof address == sizeof(void *) && minusOne < 0 && one == 1 && rectBytes == 16);
    CHECK(ARRAYSIZE(numbers) == 3);
    CHECK(max(numbers[0], numbers[1]) == 9 && min(numbers[1], numbers[2]) == 4);
    CHECK(MulDiv(12, 96, 72) == 16 && MulDiv(-3, 1, 2) == -2 && MulDiv(1, 1, 0) == -1);
    ZeroMemory(numbers, sizeof numbers);
    CHECK(numbers[0] == 0 && numbers[2] == 0);
    FillMemory(numbers, sizeof numbers, 0xFF);
    CHECK(numbers[1] == -1);
}

static void CheckGenericText(void)
{
    TCHAR name[MAX_PATH];
    _tcscpy(name, _T("picture"));
    _tcscat(name, TEXT(".bmp"));
    CHECK(_tcslen(name) == 11);
    CHECK(_tcscmp(name, _T("picture.bmp")) == 0);
    CHECK(_tcsicmp(name, _T("PICTURE.BMP")) == 0);
    CHECK(_tcsncmp(name, _T("pictures"), 7) == 0);
    CHECK(_tcschr(name, _T('.')) == name + 7 && _tcsrchr(name, _T('p')) == name + 10);
    CHECK(_tcsstr(name, _T("ture")) == name + 3);
    CHECK(_ttoi(_T("42")) == 42);
#ifdef UNICODE
    CHECK(sizeof(TCHAR) == 2 && sizeof(WCHAR) == 2);
#else
    CHECK(sizeof(TCHAR) == 1);
#endif
}

static void CheckMemory(void)
{
    HGLOBAL movable = GlobalAlloc(GHND, 64);
    BYTE *bytes = (BYTE *)GlobalLock(movable);
    HLOCAL fixed;
    CHECK(bytes != NULL && bytes[0] == 0 && bytes[63] == 0);
    CHECK((GlobalFlags(movable) & GMEM_LOCKCOUNT) == 1);
    bytes[0] = 7;
    CHECK(GlobalUnlock(movable) == FALSE && GetLastError() == NO_ERROR);
    movable = GlobalReAlloc(movable, 128, GMEM_MOVEABLE | GMEM_ZEROINIT);
    CHECK(movable != NULL && GlobalSize(movable) == 128);
    bytes = (BYTE *)GlobalLock(movable);
    CHECK(bytes != NULL && bytes[0] == 7 && bytes[127] == 0);
    GlobalUnlock(movable);
    CHECK(GlobalFree(movable) == NULL);
    SetLastError(0);
    CHECK(GlobalLock(movable) == NULL && GetLastError() == ERROR_INVALID_HANDLE);

    fixed = LocalAlloc(LPTR, 16);
    CHECK(fixed != NULL && LocalLock(fixed) == fixed && LocalSize(fixed) == 16);
    CHECK(LocalFree(fixed) == NULL);
}

/* Writes a 24-bit BMP file of `bitmap` (not selected into a context). */
static BOOL SaveBitmap(LPCTSTR name, HDC dc, HBITMAP bitmap)
{
    BITMAP bm;
    PBITMAPINFO info;
    BITMAPFILEHEADER header;
    HGLOBAL bitsHandle;
    LPBYTE bits;
    HANDLE file;
    DWORD written, stride;
    BOOL ok;

    if (GetObject(bitmap, sizeof bm, &bm) == 0) return FALSE;
    info = (PBITMAPINFO)LocalAlloc(LPTR, sizeof(BITMAPINFOHEADER));
    if (info == NULL) return FALSE;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = bm.bmWidth;
    info->bmiHeader.biHeight = bm.bmHeight;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biCompression = BI_RGB;
    stride = ((bm.bmWidth * 24 + 31) & ~31) / 8;
    info->bmiHeader.biSizeImage = stride * bm.bmHeight;

    bitsHandle = GlobalAlloc(GMEM_FIXED, info->bmiHeader.biSizeImage);
    bits = (LPBYTE)GlobalLock(bitsHandle);
    ok = bits != NULL &&
         GetDIBits(dc, bitmap, 0, (UINT)bm.bmHeight, bits, info, DIB_RGB_COLORS) == bm.bmHeight;

    header.bfType = 0x4d42; /* "BM" */
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + info->bmiHeader.biSizeImage;
    header.bfReserved1 = 0;
    header.bfReserved2 = 0;
    file = CreateFile(name, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ok = ok && file != INVALID_HANDLE_VALUE;
    ok = ok && WriteFile(file, &header, sizeof header, &written, NULL) && written == sizeof header;
    ok = ok && WriteFile(file, &info->bmiHeader, sizeof(BITMAPINFOHEADER), &written, NULL);
    ok = ok && WriteFile(file, bits, info->bmiHeader.biSizeImage, &written, NULL);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    GlobalUnlock(bitsHandle);
    GlobalFree(bitsHandle);
    LocalFree(info);
    return ok;
}

static void CheckBitmapFile(void)
{
    /* A name beyond ASCII: UTF-8 on the file system either way. */
    LPCTSTR name = TEXT("porting caf\u00e9.bmp");
    LPCTSTR moved = TEXT("porting moved.bmp");
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 13, 7);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all = {0, 0, 13, 7};
    HGDIOBJ old = SelectObject(dc, picture);
    HBITMAP loaded;
    BITMAP bm;

    FillRect(dc, &all, red);
    SetPixel(dc, 12, 6, RGB(0, 0, 255));
    SelectObject(dc, old);
    CHECK(SaveBitmap(name, dc, picture));

    loaded = (HBITMAP)LoadImage(NULL, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    CHECK(loaded != NULL);
    CHECK(GetObject(loaded, sizeof bm, &bm) == (int)sizeof bm);
    CHECK(bm.bmWidth == 13 && bm.bmHeight == 7 && bm.bmBitsPixel == 24);
    old = SelectObject(dc, loaded);
    CHECK(GetPixel(dc, 0, 0) == RGB(255, 0, 0) && GetPixel(dc, 12, 6) == RGB(0, 0, 255));
    SelectObject(dc, old);

    CHECK(MoveFileEx(name, moved, MOVEFILE_REPLACE_EXISTING));
    CHECK(DeleteFile(moved));
    SetLastError(0);
    CHECK(!DeleteFile(name) && GetLastError() == ERROR_FILE_NOT_FOUND);
#if defined(UNICODE) && !defined(_WIN32)
    {
        /* An unpaired surrogate has no UTF-8 spelling. */
        const WCHAR unpaired[] = {'a', 0xD800, '.', 'b', 'm', 'p', 0};
        SetLastError(0);
        CHECK(CreateFile(unpaired, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL) ==
                  INVALID_HANDLE_VALUE &&
              GetLastError() == ERROR_INVALID_NAME);
    }
#endif

    DeleteObject(loaded);
    DeleteObject(picture);
    DeleteObject(red);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
}

/*
 * The windowless user layer and context state: one screen, described alike
 * by its contexts and the system metrics; window handles fail cleanly; a
 * message box goes to standard error and answers its default button.
 */
static void CheckScreenAndState(void)
{
    HDC screen = GetDC(NULL);
    HDC display = CreateDC(TEXT("DISPLAY"), NULL, NULL, NULL);
    HDC dc = CreateCompatibleDC(screen);
    RECT desktop, a, b, both;
    POINT inside = {6, 6};
    int level;

    CHECK(GetDeviceCaps(screen, HORZRES) == GetSystemMetrics(SM_CXSCREEN));
    CHECK(GetDeviceCaps(display, VERTRES) == GetSystemMetrics(SM_CYSCREEN));
    CHECK(GetDeviceCaps(dc, BITSPIXEL) == 32 && GetDeviceCaps(dc, LOGPIXELSX) == 96);
    CHECK(GetClientRect(GetDesktopWindow(), &desktop) &&
          desktop.right == GetSystemMetrics(SM_CXSCREEN) &&
          desktop.bottom == GetSystemMetrics(SM_CYSCREEN));
    SetLastError(0);
    CHECK(!GetClientRect((HWND)(UINT_PTR)0x1234, &a) && GetLastError() == ERROR_INVALID_WINDOW_HANDLE);

    SetRect(&a, 0, 0, 10, 10);
    SetRect(&b, 5, 5, 20, 20);
    CHECK(IntersectRect(&both, &a, &b) && both.left == 5 && both.right == 10);
    CHECK(UnionRect(&both, &a, &b) && both.right == 20 && PtInRect(&b, inside));
    OffsetRect(&a, 3, 4);
    CHECK(a.left == 3 && a.bottom == 14);

    level = SaveDC(dc);
    SetTextColor(dc, RGB(1, 2, 3));
    CHECK(level == 1 && RestoreDC(dc, -1) && GetTextColor(dc) == RGB(0, 0, 0));
    CHECK(MessageBox(NULL, TEXT("a message box, on standard error"), TEXT("porting.c"),
                     MB_YESNO | MB_DEFBUTTON2) == IDNO);

    DeleteDC(dc);
    DeleteDC(display);
    ReleaseDC(NULL, screen);
}

int main(void)
{
    CheckTypesAndMacros();
    CheckGenericText();
    CheckMemory();
    CheckBitmapFile();
    CheckScreenAndState();
    ExitProcess(failures == 0 ? 0 : 1);
}
