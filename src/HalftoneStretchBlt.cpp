// Draws a 16 x 16 grid of one-pixel black lines on white, reduces it to
// 8 x 8 with StretchBlt in HALFTONE mode and saves the result as output.bmp.
#include <windows.h>

#include <string.h>

#include "SaveBitmapToFile.h"

// Makes a width x height device-independent bitmap of 24 bits per pixel.
// Its pixels are reached only through GDI calls, so the address that
// CreateDIBSection hands back is not kept.
static HBITMAP Create24BppBitmap(HDC hdc, LONG width, LONG height)
{
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;

    VOID *bits = NULL;
    return CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
}

int main(void)
{
    const LONG srcWidth = 16;
    const LONG srcHeight = 16;
    const LONG dstWidth = srcWidth / 2;
    const LONG dstHeight = srcHeight / 2;
    RECT fillRect = {0, 0, srcWidth, srcHeight};

    HDC srcDC = CreateCompatibleDC(NULL);
    HDC dstDC = CreateCompatibleDC(NULL);

    HBITMAP srcBitmap = Create24BppBitmap(srcDC, srcWidth, srcHeight);
    HGDIOBJ oldSrcBitmap = SelectObject(srcDC, srcBitmap);

    FillRect(srcDC, &fillRect, (HBRUSH)GetStockObject(WHITE_BRUSH));
    SelectObject(srcDC, GetStockObject(BLACK_PEN));

    // Lines cover their start point and stop short of their end point, so
    // each runs the full 16 pixels: every even column and row turns black.
    for (LONG x = 0; x < srcWidth; x += 2) {
        MoveToEx(srcDC, x, 0, NULL);
        LineTo(srcDC, x, srcHeight);
    }
    for (LONG y = 0; y < srcHeight; y += 2) {
        MoveToEx(srcDC, 0, y, NULL);
        LineTo(srcDC, srcWidth, y);
    }

    HBITMAP dstBitmap = Create24BppBitmap(dstDC, dstWidth, dstHeight);
    HGDIOBJ oldDstBitmap = SelectObject(dstDC, dstBitmap);

    SetStretchBltMode(dstDC, HALFTONE);
    StretchBlt(dstDC, 0, 0, dstWidth, dstHeight, srcDC, 0, 0, srcWidth, srcHeight, SRCCOPY);

    // The writer reads the pixels back with GetDIBits, which needs the
    // bitmap out of every device context.
    SelectObject(dstDC, oldDstBitmap);
    SaveBitmapToFileA("output.bmp", dstBitmap);
    DeleteObject(dstBitmap);

    SelectObject(srcDC, oldSrcBitmap);
    DeleteObject(srcBitmap);

    DeleteDC(srcDC);
    DeleteDC(dstDC);
    return 0;
}
