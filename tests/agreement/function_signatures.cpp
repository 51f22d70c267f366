// Signatures of the header's functions, calling convention included.
#include "agreement.h"

// ---- Errors ------------------------------------------------------------------

EXPECT_SIGNATURE(GetLastError, DWORD(WINAPI *)(void));
EXPECT_SIGNATURE(SetLastError, void(WINAPI *)(DWORD));

// ---- Device contexts and objects ---------------------------------------------

EXPECT_SIGNATURE(CreateCompatibleDC, HDC(WINAPI *)(HDC));
EXPECT_SIGNATURE(DeleteDC, BOOL(WINAPI *)(HDC));
EXPECT_SIGNATURE(GetDC, HDC(WINAPI *)(HWND));
EXPECT_SIGNATURE(ReleaseDC, int(WINAPI *)(HWND, HDC));
EXPECT_SIGNATURE(CreateCompatibleBitmap, HBITMAP(WINAPI *)(HDC, int, int));
EXPECT_SIGNATURE(CreateDIBSection,
                 HBITMAP(WINAPI *)(HDC, const BITMAPINFO *, UINT, VOID **, HANDLE, DWORD));
EXPECT_SIGNATURE(SelectObject, HGDIOBJ(WINAPI *)(HDC, HGDIOBJ));
EXPECT_SIGNATURE(DeleteObject, BOOL(WINAPI *)(HGDIOBJ));
EXPECT_SIGNATURE(GetStockObject, HGDIOBJ(WINAPI *)(int));
EXPECT_SIGNATURE(GetCurrentObject, HGDIOBJ(WINAPI *)(HDC, UINT));
EXPECT_SIGNATURE(GetObjectType, DWORD(WINAPI *)(HGDIOBJ));
EXPECT_SIGNATURE(GetObjectA, int(WINAPI *)(HANDLE, int, LPVOID));
EXPECT_SIGNATURE(CreatePen, HPEN(WINAPI *)(int, int, COLORREF));
EXPECT_SIGNATURE(CreatePalette, HPALETTE(WINAPI *)(const LOGPALETTE *));
EXPECT_SIGNATURE(SelectPalette, HPALETTE(WINAPI *)(HDC, HPALETTE, BOOL));
EXPECT_SIGNATURE(RealizePalette, UINT(WINAPI *)(HDC));
EXPECT_SIGNATURE(GetPaletteEntries, UINT(WINAPI *)(HPALETTE, UINT, UINT, LPPALETTEENTRY));
EXPECT_SIGNATURE(CreateSolidBrush, HBRUSH(WINAPI *)(COLORREF));

// ---- Drawing --------------------------------------------------------------------

EXPECT_SIGNATURE(FillRect, int(WINAPI *)(HDC, const RECT *, HBRUSH));
EXPECT_SIGNATURE(MoveToEx, BOOL(WINAPI *)(HDC, int, int, LPPOINT));
EXPECT_SIGNATURE(LineTo, BOOL(WINAPI *)(HDC, int, int));
EXPECT_SIGNATURE(SetPixel, COLORREF(WINAPI *)(HDC, int, int, COLORREF));
EXPECT_SIGNATURE(GetPixel, COLORREF(WINAPI *)(HDC, int, int));
EXPECT_SIGNATURE(Rectangle, BOOL(WINAPI *)(HDC, int, int, int, int));
EXPECT_SIGNATURE(RoundRect, BOOL(WINAPI *)(HDC, int, int, int, int, int, int));
EXPECT_SIGNATURE(Ellipse, BOOL(WINAPI *)(HDC, int, int, int, int));
EXPECT_SIGNATURE(Polygon, BOOL(WINAPI *)(HDC, const POINT *, int));
EXPECT_SIGNATURE(PolyPolygon, BOOL(WINAPI *)(HDC, const POINT *, const INT *, int));
EXPECT_SIGNATURE(Polyline, BOOL(WINAPI *)(HDC, const POINT *, int));
EXPECT_SIGNATURE(PolylineTo, BOOL(WINAPI *)(HDC, const POINT *, DWORD));
EXPECT_SIGNATURE(PolyPolyline, BOOL(WINAPI *)(HDC, const POINT *, const DWORD *, DWORD));
EXPECT_SIGNATURE(Arc, BOOL(WINAPI *)(HDC, int, int, int, int, int, int, int, int));
EXPECT_SIGNATURE(ArcTo, BOOL(WINAPI *)(HDC, int, int, int, int, int, int, int, int));
EXPECT_SIGNATURE(AngleArc, BOOL(WINAPI *)(HDC, int, int, DWORD, FLOAT, FLOAT));
EXPECT_SIGNATURE(Pie, BOOL(WINAPI *)(HDC, int, int, int, int, int, int, int, int));
EXPECT_SIGNATURE(Chord, BOOL(WINAPI *)(HDC, int, int, int, int, int, int, int, int));
EXPECT_SIGNATURE(ExtFloodFill, BOOL(WINAPI *)(HDC, int, int, COLORREF, UINT));
EXPECT_SIGNATURE(FloodFill, BOOL(WINAPI *)(HDC, int, int, COLORREF));
EXPECT_SIGNATURE(FrameRect, int(WINAPI *)(HDC, const RECT *, HBRUSH));
EXPECT_SIGNATURE(InvertRect, BOOL(WINAPI *)(HDC, const RECT *));
EXPECT_SIGNATURE(SetROP2, int(WINAPI *)(HDC, int));
EXPECT_SIGNATURE(GetROP2, int(WINAPI *)(HDC));
EXPECT_SIGNATURE(SetPolyFillMode, int(WINAPI *)(HDC, int));
EXPECT_SIGNATURE(GetPolyFillMode, int(WINAPI *)(HDC));
EXPECT_SIGNATURE(SetArcDirection, int(WINAPI *)(HDC, int));
EXPECT_SIGNATURE(GetArcDirection, int(WINAPI *)(HDC));

// ---- Stretching and pixel transfer -------------------------------------------------

EXPECT_SIGNATURE(SetBkMode, int(WINAPI *)(HDC, int));
EXPECT_SIGNATURE(GetBkMode, int(WINAPI *)(HDC));
EXPECT_SIGNATURE(SetStretchBltMode, int(WINAPI *)(HDC, int));
EXPECT_SIGNATURE(GetStretchBltMode, int(WINAPI *)(HDC));
EXPECT_SIGNATURE(SetBkColor, COLORREF(WINAPI *)(HDC, COLORREF));
EXPECT_SIGNATURE(GetBkColor, COLORREF(WINAPI *)(HDC));
EXPECT_SIGNATURE(SetTextColor, COLORREF(WINAPI *)(HDC, COLORREF));
EXPECT_SIGNATURE(GetTextColor, COLORREF(WINAPI *)(HDC));
EXPECT_SIGNATURE(SetBkMode, int(WINAPI *)(HDC, int));
EXPECT_SIGNATURE(GetBkMode, int(WINAPI *)(HDC));
EXPECT_SIGNATURE(SetBrushOrgEx, BOOL(WINAPI *)(HDC, int, int, LPPOINT));
EXPECT_SIGNATURE(GetBrushOrgEx, BOOL(WINAPI *)(HDC, LPPOINT));
EXPECT_SIGNATURE(StretchBlt,
                 BOOL(WINAPI *)(HDC, int, int, int, int, HDC, int, int, int, int, DWORD));
EXPECT_SIGNATURE(BitBlt, BOOL(WINAPI *)(HDC, int, int, int, int, HDC, int, int, DWORD));
EXPECT_SIGNATURE(GetDIBits,
                 int(WINAPI *)(HDC, HBITMAP, UINT, UINT, LPVOID, LPBITMAPINFO, UINT));
EXPECT_SIGNATURE(SetDIBits,
                 int(WINAPI *)(HDC, HBITMAP, UINT, UINT, const VOID *, const BITMAPINFO *, UINT));

// ---- System colours ----------------------------------------------------------------

EXPECT_SIGNATURE(GetSysColor, DWORD(WINAPI *)(int));
EXPECT_SIGNATURE(GetSysColorBrush, HBRUSH(WINAPI *)(int));

// ---- Image loading -------------------------------------------------------------------

EXPECT_SIGNATURE(LoadImageA, HANDLE(WINAPI *)(HINSTANCE, LPCSTR, UINT, int, int, UINT));

// ---- Files ------------------------------------------------------------------------------

EXPECT_SIGNATURE(CreateFileA, HANDLE(WINAPI *)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD,
                                               DWORD, HANDLE));
EXPECT_SIGNATURE(ReadFile, BOOL(WINAPI *)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED));
EXPECT_SIGNATURE(WriteFile, BOOL(WINAPI *)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED));
EXPECT_SIGNATURE(CloseHandle, BOOL(WINAPI *)(HANDLE));
EXPECT_SIGNATURE(DeleteFileA, BOOL(WINAPI *)(LPCSTR));
EXPECT_SIGNATURE(GetFileSize, DWORD(WINAPI *)(HANDLE, LPDWORD));
EXPECT_SIGNATURE(GetFileType, DWORD(WINAPI *)(HANDLE));
EXPECT_SIGNATURE(MoveFileExA, BOOL(WINAPI *)(LPCSTR, LPCSTR, DWORD));

// ---- Process heap ----------------------------------------------------------------------

EXPECT_SIGNATURE(GetProcessHeap, HANDLE(WINAPI *)(void));
EXPECT_SIGNATURE(HeapAlloc, LPVOID(WINAPI *)(HANDLE, DWORD, SIZE_T));
EXPECT_SIGNATURE(HeapFree, BOOL(WINAPI *)(HANDLE, DWORD, LPVOID));

// ---- Generic names: the project builds without UNICODE, so each names the
// 8-bit-string function.

EXPECT_SIGNATURE(GetObject, int(WINAPI *)(HANDLE, int, LPVOID));
EXPECT_SIGNATURE(LoadImage, HANDLE(WINAPI *)(HINSTANCE, LPCSTR, UINT, int, int, UINT));
EXPECT_SIGNATURE(CreateFile, HANDLE(WINAPI *)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD,
                                              DWORD, HANDLE));
EXPECT_SIGNATURE(DeleteFile, BOOL(WINAPI *)(LPCSTR));
EXPECT_SIGNATURE(MoveFileEx, BOOL(WINAPI *)(LPCSTR, LPCSTR, DWORD));
