// Sizes, field offsets and field types of every structure in the header.
// The BMP file blocks (file header, info headers, colour entries) must match
// byte for byte, since they are written to and read from files as they lie
// in memory.
#include "agreement.h"

using agreement::AlignUp;
using agreement::kPointerAlign;
using agreement::kPointerBytes;
using agreement::PointerAfter;

// ---- Geometry ------------------------------------------------------------

EXPECT_SIZE(POINT, 8);
EXPECT_FIELD(POINT, x, 0, LONG);
EXPECT_FIELD(POINT, y, 4, LONG);

EXPECT_SIZE(RECT, 16);
EXPECT_FIELD(RECT, left, 0, LONG);
EXPECT_FIELD(RECT, top, 4, LONG);
EXPECT_FIELD(RECT, right, 8, LONG);
EXPECT_FIELD(RECT, bottom, 12, LONG);

// ---- Colour entries -------------------------------------------------------

EXPECT_SIZE(RGBQUAD, 4);
EXPECT_FIELD(RGBQUAD, rgbBlue, 0, BYTE);
EXPECT_FIELD(RGBQUAD, rgbGreen, 1, BYTE);
EXPECT_FIELD(RGBQUAD, rgbRed, 2, BYTE);
EXPECT_FIELD(RGBQUAD, rgbReserved, 3, BYTE);

EXPECT_SIZE(RGBTRIPLE, 3);
EXPECT_FIELD(RGBTRIPLE, rgbtBlue, 0, BYTE);
EXPECT_FIELD(RGBTRIPLE, rgbtGreen, 1, BYTE);
EXPECT_FIELD(RGBTRIPLE, rgbtRed, 2, BYTE);

EXPECT_SIZE(CIEXYZ, 12);
EXPECT_FIELD(CIEXYZ, ciexyzX, 0, FXPT2DOT30);
EXPECT_FIELD(CIEXYZ, ciexyzY, 4, FXPT2DOT30);
EXPECT_FIELD(CIEXYZ, ciexyzZ, 8, FXPT2DOT30);

EXPECT_SIZE(CIEXYZTRIPLE, 36);
EXPECT_FIELD(CIEXYZTRIPLE, ciexyzRed, 0, CIEXYZ);
EXPECT_FIELD(CIEXYZTRIPLE, ciexyzGreen, 12, CIEXYZ);
EXPECT_FIELD(CIEXYZTRIPLE, ciexyzBlue, 24, CIEXYZ);

// ---- BMP file header: packed to 2 bytes, so bfSize sits at offset 2 -------

EXPECT_SIZE(BITMAPFILEHEADER, 14);
static_assert(alignof(BITMAPFILEHEADER) == 2, "BITMAPFILEHEADER is packed to 2 bytes");
EXPECT_FIELD(BITMAPFILEHEADER, bfType, 0, WORD);
EXPECT_FIELD(BITMAPFILEHEADER, bfSize, 2, DWORD);
EXPECT_FIELD(BITMAPFILEHEADER, bfReserved1, 6, WORD);
EXPECT_FIELD(BITMAPFILEHEADER, bfReserved2, 8, WORD);
EXPECT_FIELD(BITMAPFILEHEADER, bfOffBits, 10, DWORD);

// ---- Info headers, 12, 40, 108 and 124 bytes ------------------------------

EXPECT_SIZE(BITMAPCOREHEADER, 12);
EXPECT_FIELD(BITMAPCOREHEADER, bcSize, 0, DWORD);
EXPECT_FIELD(BITMAPCOREHEADER, bcWidth, 4, WORD);
EXPECT_FIELD(BITMAPCOREHEADER, bcHeight, 6, WORD);
EXPECT_FIELD(BITMAPCOREHEADER, bcPlanes, 8, WORD);
EXPECT_FIELD(BITMAPCOREHEADER, bcBitCount, 10, WORD);

EXPECT_SIZE(BITMAPINFOHEADER, 40);
EXPECT_FIELD(BITMAPINFOHEADER, biSize, 0, DWORD);
EXPECT_FIELD(BITMAPINFOHEADER, biWidth, 4, LONG);
EXPECT_FIELD(BITMAPINFOHEADER, biHeight, 8, LONG);
EXPECT_FIELD(BITMAPINFOHEADER, biPlanes, 12, WORD);
EXPECT_FIELD(BITMAPINFOHEADER, biBitCount, 14, WORD);
EXPECT_FIELD(BITMAPINFOHEADER, biCompression, 16, DWORD);
EXPECT_FIELD(BITMAPINFOHEADER, biSizeImage, 20, DWORD);
EXPECT_FIELD(BITMAPINFOHEADER, biXPelsPerMeter, 24, LONG);
EXPECT_FIELD(BITMAPINFOHEADER, biYPelsPerMeter, 28, LONG);
EXPECT_FIELD(BITMAPINFOHEADER, biClrUsed, 32, DWORD);
EXPECT_FIELD(BITMAPINFOHEADER, biClrImportant, 36, DWORD);

EXPECT_SIZE(BITMAPV4HEADER, 108);
EXPECT_FIELD(BITMAPV4HEADER, bV4Size, 0, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4Width, 4, LONG);
EXPECT_FIELD(BITMAPV4HEADER, bV4Height, 8, LONG);
EXPECT_FIELD(BITMAPV4HEADER, bV4Planes, 12, WORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4BitCount, 14, WORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4V4Compression, 16, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4SizeImage, 20, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4XPelsPerMeter, 24, LONG);
EXPECT_FIELD(BITMAPV4HEADER, bV4YPelsPerMeter, 28, LONG);
EXPECT_FIELD(BITMAPV4HEADER, bV4ClrUsed, 32, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4ClrImportant, 36, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4RedMask, 40, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4GreenMask, 44, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4BlueMask, 48, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4AlphaMask, 52, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4CSType, 56, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4Endpoints, 60, CIEXYZTRIPLE);
EXPECT_FIELD(BITMAPV4HEADER, bV4GammaRed, 96, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4GammaGreen, 100, DWORD);
EXPECT_FIELD(BITMAPV4HEADER, bV4GammaBlue, 104, DWORD);

EXPECT_SIZE(BITMAPV5HEADER, 124);
EXPECT_FIELD(BITMAPV5HEADER, bV5Size, 0, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5Width, 4, LONG);
EXPECT_FIELD(BITMAPV5HEADER, bV5Height, 8, LONG);
EXPECT_FIELD(BITMAPV5HEADER, bV5Planes, 12, WORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5BitCount, 14, WORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5Compression, 16, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5SizeImage, 20, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5XPelsPerMeter, 24, LONG);
EXPECT_FIELD(BITMAPV5HEADER, bV5YPelsPerMeter, 28, LONG);
EXPECT_FIELD(BITMAPV5HEADER, bV5ClrUsed, 32, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5ClrImportant, 36, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5RedMask, 40, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5GreenMask, 44, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5BlueMask, 48, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5AlphaMask, 52, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5CSType, 56, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5Endpoints, 60, CIEXYZTRIPLE);
EXPECT_FIELD(BITMAPV5HEADER, bV5GammaRed, 96, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5GammaGreen, 100, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5GammaBlue, 104, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5Intent, 108, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5ProfileData, 112, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5ProfileSize, 116, DWORD);
EXPECT_FIELD(BITMAPV5HEADER, bV5Reserved, 120, DWORD);

// An info header followed by one colour entry; callers that need a full
// colour table use a larger buffer of the same layout.
EXPECT_SIZE(BITMAPINFO, 44);
EXPECT_FIELD(BITMAPINFO, bmiHeader, 0, BITMAPINFOHEADER);
EXPECT_FIELD(BITMAPINFO, bmiColors, 40, RGBQUAD[1]);

// ---- Bitmap geometry as GetObject reports it ------------------------------

constexpr std::size_t kBitmapBitsOffset = PointerAfter(20);
constexpr std::size_t kBitmapBytes = AlignUp(kBitmapBitsOffset + kPointerBytes, kPointerAlign);
static_assert(sizeof(void *) != 4 || kBitmapBytes == 24, "BITMAP is 24 bytes on 32-bit Windows");

EXPECT_SIZE(BITMAP, kBitmapBytes);
EXPECT_FIELD(BITMAP, bmType, 0, LONG);
EXPECT_FIELD(BITMAP, bmWidth, 4, LONG);
EXPECT_FIELD(BITMAP, bmHeight, 8, LONG);
EXPECT_FIELD(BITMAP, bmWidthBytes, 12, LONG);
EXPECT_FIELD(BITMAP, bmPlanes, 16, WORD);
EXPECT_FIELD(BITMAP, bmBitsPixel, 18, WORD);
EXPECT_FIELD(BITMAP, bmBits, kBitmapBitsOffset, LPVOID);

constexpr std::size_t kDibInfoOffset = sizeof(BITMAP);
constexpr std::size_t kDibBitfieldsOffset = kDibInfoOffset + 40;
constexpr std::size_t kDibSectionOffset = PointerAfter(kDibBitfieldsOffset + 12);
constexpr std::size_t kDibOffsetOffset = kDibSectionOffset + kPointerBytes;
static_assert(sizeof(void *) != 4 || AlignUp(kDibOffsetOffset + 4, kPointerAlign) == 84,
              "DIBSECTION is 84 bytes on 32-bit Windows");

EXPECT_SIZE(DIBSECTION, AlignUp(kDibOffsetOffset + 4, kPointerAlign));
EXPECT_FIELD(DIBSECTION, dsBm, 0, BITMAP);
EXPECT_FIELD(DIBSECTION, dsBmih, kDibInfoOffset, BITMAPINFOHEADER);
EXPECT_FIELD(DIBSECTION, dsBitfields, kDibBitfieldsOffset, DWORD[3]);
EXPECT_FIELD(DIBSECTION, dshSection, kDibSectionOffset, HANDLE);
EXPECT_FIELD(DIBSECTION, dsOffset, kDibOffsetOffset, DWORD);

// ---- Pens and brushes ------------------------------------------------------

EXPECT_SIZE(LOGPEN, 16);
EXPECT_FIELD(LOGPEN, lopnStyle, 0, UINT);
EXPECT_FIELD(LOGPEN, lopnWidth, 4, POINT);
EXPECT_FIELD(LOGPEN, lopnColor, 12, COLORREF);

EXPECT_SIZE(LOGBRUSH, AlignUp(PointerAfter(8) + kPointerBytes, kPointerAlign));
EXPECT_FIELD(LOGBRUSH, lbStyle, 0, UINT);
EXPECT_FIELD(LOGBRUSH, lbColor, 4, COLORREF);
EXPECT_FIELD(LOGBRUSH, lbHatch, PointerAfter(8), ULONG_PTR);

EXPECT_SIZE(PALETTEENTRY, 4);
EXPECT_FIELD(PALETTEENTRY, peRed, 0, BYTE);
EXPECT_FIELD(PALETTEENTRY, peGreen, 1, BYTE);
EXPECT_FIELD(PALETTEENTRY, peBlue, 2, BYTE);
EXPECT_FIELD(PALETTEENTRY, peFlags, 3, BYTE);

EXPECT_SIZE(LOGPALETTE, 8);
EXPECT_FIELD(LOGPALETTE, palVersion, 0, WORD);
EXPECT_FIELD(LOGPALETTE, palNumEntries, 2, WORD);
EXPECT_FIELD(LOGPALETTE, palPalEntry, 4, PALETTEENTRY[1]);

// ---- Files -------------------------------------------------------------------

constexpr std::size_t kSecurityInheritOffset = PointerAfter(4) + kPointerBytes;
EXPECT_SIZE(SECURITY_ATTRIBUTES, AlignUp(kSecurityInheritOffset + 4, kPointerAlign));
EXPECT_FIELD(SECURITY_ATTRIBUTES, nLength, 0, DWORD);
EXPECT_FIELD(SECURITY_ATTRIBUTES, lpSecurityDescriptor, PointerAfter(4), LPVOID);
EXPECT_FIELD(SECURITY_ATTRIBUTES, bInheritHandle, kSecurityInheritOffset, BOOL);

constexpr std::size_t kOverlappedEventOffset = PointerAfter(2 * kPointerBytes + 8);
EXPECT_SIZE(OVERLAPPED, AlignUp(kOverlappedEventOffset + kPointerBytes, kPointerAlign));
EXPECT_FIELD(OVERLAPPED, Internal, 0, ULONG_PTR);
EXPECT_FIELD(OVERLAPPED, InternalHigh, kPointerBytes, ULONG_PTR);
EXPECT_FIELD(OVERLAPPED, Offset, 2 * kPointerBytes, DWORD);
EXPECT_FIELD(OVERLAPPED, OffsetHigh, 2 * kPointerBytes + 4, DWORD);
EXPECT_FIELD(OVERLAPPED, hEvent, kOverlappedEventOffset, HANDLE);
