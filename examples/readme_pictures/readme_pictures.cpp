// Writes the pictures README.md shows, through the module:
//   grid.bmp          the 16 x 16 test grid the program draws
//   output.bmp        the grid reduced to 8 x 8 in HALFTONE mode, as the
//                     program writes it
//   mode-NAME.bmp     the grid reduced to 8 x 8 in each stretching mode
//                     (blackonwhite, whiteonblack, coloroncolor, halftone)
//   readme_pictures [FOLDER]      (default: the current directory)
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "SaveBitmapToFile.h"

static const LONG kGridSide = 16;
static const LONG kReducedSide = kGridSide / 2;

static HBITMAP Create24BppBitmap(LONG width, LONG height)
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
    return CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
}

// One-pixel black lines on white along every even column and row, drawn
// as the program draws them.
static void DrawGrid(HDC dc)
{
    RECT all = {0, 0, kGridSide, kGridSide};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    for (LONG i = 0; i < kGridSide; i += 2) {
        MoveToEx(dc, i, 0, NULL);
        LineTo(dc, i, kGridSide);
        MoveToEx(dc, 0, i, NULL);
        LineTo(dc, kGridSide, i);
    }
    SelectObject(dc, oldPen);
}

static BOOL Save(const char *folder, const char *name, HBITMAP bitmap)
{
    char path[1024];
    if (snprintf(path, sizeof(path), "%s/%s", folder, name) >= (int)sizeof(path))
        return FALSE;
    if (!SaveBitmapToFileA(path, bitmap)) {
        fprintf(stderr, "cannot write %s\n", path);
        return FALSE;
    }
    return TRUE;
}

// Reduces the grid selected into `gridDC` to 8 x 8 in `mode` and saves it.
static BOOL SaveReduced(const char *folder, const char *name, HDC gridDC, int mode)
{
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP reduced = Create24BppBitmap(kReducedSide, kReducedSide);
    HGDIOBJ old = SelectObject(dc, reduced);
    SetStretchBltMode(dc, mode);
    BOOL ok = StretchBlt(dc, 0, 0, kReducedSide, kReducedSide, gridDC, 0, 0, kGridSide, kGridSide, SRCCOPY);
    SelectObject(dc, old);
    ok = ok && Save(folder, name, reduced);
    DeleteObject(reduced);
    DeleteDC(dc);
    return ok;
}

int main(int argc, char **argv)
{
    const char *folder = argc > 1 ? argv[1] : ".";
    static const struct {
        const char *file;
        int mode;
    } modes[] = {
        {"mode-blackonwhite.bmp", BLACKONWHITE},
        {"mode-whiteonblack.bmp", WHITEONBLACK},
        {"mode-coloroncolor.bmp", COLORONCOLOR},
        {"mode-halftone.bmp", HALFTONE},
        {"output.bmp", HALFTONE},
    };

    HDC gridDC = CreateCompatibleDC(NULL);
    HBITMAP grid = Create24BppBitmap(kGridSide, kGridSide);
    HGDIOBJ old = SelectObject(gridDC, grid);
    DrawGrid(gridDC);
    BOOL ok = TRUE;
    for (size_t i = 0; i < sizeof(modes) / sizeof(modes[0]); ++i)
        ok = SaveReduced(folder, modes[i].file, gridDC, modes[i].mode) && ok;
    SelectObject(gridDC, old);
    ok = Save(folder, "grid.bmp", grid) && ok;
    DeleteObject(grid);
    DeleteDC(gridDC);
    return ok ? 0 : 1;
}
