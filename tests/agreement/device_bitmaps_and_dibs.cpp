// Device-dependent bitmaps, colour tables and palettes, and DIBs drawn
// straight onto a device: their structures, constants and signatures.
#include "agreement.h"

EXPECT_SIZE(SIZE, 8);
EXPECT_FIELD(SIZE, cx, 0, LONG);
EXPECT_FIELD(SIZE, cy, 4, LONG);

EXPECT_VALUE(CBM_INIT, 4);
EXPECT_VALUE(PC_RESERVED, 1);
EXPECT_VALUE(PC_EXPLICIT, 2);
EXPECT_VALUE(PC_NOCOLLAPSE, 4);

EXPECT_SIGNATURE(CreateBitmap, HBITMAP(WINAPI *)(int, int, UINT, UINT, const VOID *));
EXPECT_SIGNATURE(CreateBitmapIndirect, HBITMAP(WINAPI *)(const BITMAP *));
EXPECT_SIGNATURE(CreateDIBitmap,
                 HBITMAP(WINAPI *)(HDC, const BITMAPINFOHEADER *, DWORD, const VOID *, const BITMAPINFO *, UINT));
EXPECT_SIGNATURE(GetBitmapBits, LONG(WINAPI *)(HBITMAP, LONG, LPVOID));
EXPECT_SIGNATURE(SetBitmapBits, LONG(WINAPI *)(HBITMAP, DWORD, const VOID *));
EXPECT_SIGNATURE(SetBitmapDimensionEx, BOOL(WINAPI *)(HBITMAP, int, int, LPSIZE));
EXPECT_SIGNATURE(GetBitmapDimensionEx, BOOL(WINAPI *)(HBITMAP, LPSIZE));

EXPECT_SIGNATURE(GetDIBColorTable, UINT(WINAPI *)(HDC, UINT, UINT, RGBQUAD *));
EXPECT_SIGNATURE(SetDIBColorTable, UINT(WINAPI *)(HDC, UINT, UINT, const RGBQUAD *));
EXPECT_SIGNATURE(GetNearestColor, COLORREF(WINAPI *)(HDC, COLORREF));
EXPECT_SIGNATURE(SetPixelV, BOOL(WINAPI *)(HDC, int, int, COLORREF));
EXPECT_SIGNATURE(CreateHalftonePalette, HPALETTE(WINAPI *)(HDC));
EXPECT_SIGNATURE(GetNearestPaletteIndex, UINT(WINAPI *)(HPALETTE, COLORREF));
EXPECT_SIGNATURE(SetPaletteEntries, UINT(WINAPI *)(HPALETTE, UINT, UINT, const PALETTEENTRY *));
EXPECT_SIGNATURE(AnimatePalette, BOOL(WINAPI *)(HPALETTE, UINT, UINT, const PALETTEENTRY *));

EXPECT_SIGNATURE(StretchDIBits,
                 int(WINAPI *)(HDC, int, int, int, int, int, int, int, int, const VOID *, const BITMAPINFO *, UINT, DWORD));
EXPECT_SIGNATURE(SetDIBitsToDevice, int(WINAPI *)(HDC, int, int, DWORD, DWORD, int, int, UINT, UINT, const VOID *,
                                                  const BITMAPINFO *, UINT));
