/*
 * Bitmap file module: stores a bitmap as a BMP file and loads one back.
 */
#ifndef SAVEBITMAPTOFILE_H
#define SAVEBITMAPTOFILE_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Writes hBitmap to lpFileName as a BMP file: file header, info header with
 * its colour table (8 bits per pixel or fewer), then the pixel rows bottom-up.
 * Any existing file of that name is replaced. The bitmap must not be selected
 * into a device context; the caller keeps it. Returns TRUE when the whole
 * file was written; FALSE otherwise, and then no incomplete file is left
 * behind (a failure before the file is created leaves the file system as it
 * was).
 */
BOOL SaveBitmapToFileA(LPCSTR lpFileName, HBITMAP hBitmap);

/*
 * Loads a BMP file as a device-independent bitmap. Tries the platform's
 * image loader first, then the module's own reader of plain uncompressed
 * files. Returns NULL on failure; the caller deletes the bitmap with
 * DeleteObject.
 */
HBITMAP LoadBitmapFromFileA(LPCSTR lpFileName);

#ifdef __cplusplus
}
#endif

#endif /* SAVEBITMAPTOFILE_H */
