// Bitmap file module: BMP writer and loader.
//
// A BMP file is three blocks with no gaps: the 14-byte file header, the
// 40-byte info header followed by the colour table (8 bits per pixel or
// fewer) or, for 16-bit pictures that are not 5-5-5, the three colour masks,
// and the pixel rows in device-independent form.
#include "SaveBitmapToFile.h"

#include <string.h>

// "BM", little-endian.
static const WORD kBitmapFileType = 0x4D42;
static const DWORD kFileHeaderBytes = sizeof(BITMAPFILEHEADER);  // 14
static const DWORD kInfoHeaderBytes = sizeof(BITMAPINFOHEADER);  // 40
static const DWORD kMaxColorEntries = 256;
static const DWORD kMaxOffBits = kFileHeaderBytes + kInfoHeaderBytes + kMaxColorEntries * sizeof(RGBQUAD);
static const DWORD kMaxFileBytes = 0xFFFFFFFFu;
// Largest pixel block the loader's own reader takes: 16384 x 16384 pixels of
// 32 bits. A header that claims more is refused before anything is allocated.
static const DWORD kMaxPixelBlockBytes = 1u << 30;

// An info header with room for a full colour table: the largest header block
// that the writer produces and the loader accepts (1064 bytes).
struct BitmapInfoBuffer {
    BITMAPINFOHEADER header;
    RGBQUAD colors[kMaxColorEntries];
};

// Length of a device-independent row: padded to a multiple of 4 bytes.
static ULONGLONG PaddedRowBytes(LONG width, WORD bitCount)
{
    return ((ULONGLONG)width * bitCount + 31) / 32 * 4;
}

static DWORD ColorTableBytes(WORD bitCount)
{
    return bitCount <= 8 ? (DWORD)(sizeof(RGBQUAD) << bitCount) : 0;
}

// The three colour masks that follow a BI_BITFIELDS info header.
static const DWORD kMaskBytes = 3 * sizeof(DWORD);
static const DWORD kMask555[3] = {0x7C00, 0x03E0, 0x001F};

// ---- Writer -------------------------------------------------------------

// Fills the info header from the bitmap's geometry. The image size comes
// from the padded device-independent row, which is what GetDIBits writes,
// so the pixel buffer can never be shorter than the rows read into it.
// Fails when the sizes do not fit the file format's 32-bit fields.
static BOOL ComposeInfoHeader(const BITMAP *bm, BITMAPINFOHEADER *header)
{
    if (bm->bmWidth <= 0 || bm->bmHeight <= 0 || bm->bmBitsPixel == 0 || bm->bmBitsPixel > 32)
        return FALSE;
    ULONGLONG imageBytes = PaddedRowBytes(bm->bmWidth, bm->bmBitsPixel) * (ULONGLONG)bm->bmHeight;
    if (imageBytes > kMaxFileBytes - kMaxOffBits)
        return FALSE;

    memset(header, 0, sizeof(*header));
    header->biSize = kInfoHeaderBytes;
    header->biWidth = bm->bmWidth;
    header->biHeight = bm->bmHeight;
    header->biPlanes = 1;
    header->biBitCount = bm->bmBitsPixel;
    header->biCompression = BI_RGB;
    header->biSizeImage = (DWORD)imageBytes;
    return TRUE;
}

// A 16-bit section whose masks are not 5-5-5 (5-6-5, say) is stored with
// BI_BITFIELDS and its masks: 16-bit BI_RGB means 5-5-5, so storing it that
// way would lose a bit of every pixel. Every other bitmap keeps BI_RGB.
// Returns the bytes that follow the info header: the colour table or masks.
static DWORD ChooseCompression(HBITMAP bitmap, BITMAPINFOHEADER *header)
{
    DIBSECTION ds;
    if (header->biBitCount != 16 ||
        GetObjectA(bitmap, sizeof(DIBSECTION), &ds) != (int)sizeof(DIBSECTION) ||
        ds.dsBmih.biCompression != BI_BITFIELDS ||
        memcmp(ds.dsBitfields, kMask555, sizeof(kMask555)) == 0)
        return ColorTableBytes(header->biBitCount);
    header->biCompression = BI_BITFIELDS;
    return kMaskBytes;
}

static void ComposeFileHeader(const BITMAPINFOHEADER *header, DWORD colorTableBytes,
                              BITMAPFILEHEADER *fileHeader)
{
    memset(fileHeader, 0, sizeof(*fileHeader));
    fileHeader->bfType = kBitmapFileType;
    fileHeader->bfOffBits = kFileHeaderBytes + header->biSize + colorTableBytes;
    fileHeader->bfSize = fileHeader->bfOffBits + header->biSizeImage;
}

// A write counts only when every byte asked for was written: a short count
// means a truncated file.
static BOOL WriteWhole(HANDLE file, const void *data, DWORD bytes)
{
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written, NULL) && written == bytes;
}

// The temporary file is named after the target, ".~N.tmp" appended, with N
// counting up while the name is taken (a save running beside this one, or one
// that was cut off).
static const char kTempPrefix[] = ".~";
static const char kTempSuffix[] = ".tmp";
static const DWORD kMaxTempAttempts = 1000;
static const DWORD kMaxTempDigits = 3;

// Writes `name` + ".~N.tmp" into `buffer`, which has room for it.
static void ComposeTempName(LPCSTR name, size_t nameLength, DWORD n, char *buffer)
{
    char digits[kMaxTempDigits + 1];
    DWORD count = 0;
    do {
        digits[count++] = (char)('0' + n % 10);
        n /= 10;
    } while (n != 0 && count < kMaxTempDigits);
    memcpy(buffer, name, nameLength);
    char *p = buffer + nameLength;
    memcpy(p, kTempPrefix, sizeof(kTempPrefix) - 1);
    p += sizeof(kTempPrefix) - 1;
    while (count > 0)
        *p++ = digits[--count];
    memcpy(p, kTempSuffix, sizeof(kTempSuffix));
}

// Creates a new file beside `fileName`, in the same folder so that moving it
// over the name is a rename within one volume. CREATE_NEW never opens what
// is already there. Its name is left in `tempName`.
static HANDLE CreateTempBeside(LPCSTR fileName, size_t nameLength, char *tempName)
{
    for (DWORD n = 0; n < kMaxTempAttempts; ++n) {
        ComposeTempName(fileName, nameLength, n, tempName);
        HANDLE file = CreateFileA(tempName, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, NULL);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes the three blocks into a temporary file and, once it is whole and
// closed, moves it over the name in one step. Whatever fails, the name keeps
// what it held before (a file, a link, a device) and the temporary file is
// deleted, so no partial bitmap is left anywhere. A symbolic link at the name
// is replaced by the new file, as the platform's MoveFileEx does; the file it
// pointed to keeps its old contents.
static BOOL WriteBitmapFile(LPCSTR fileName, const BITMAPFILEHEADER *fileHeader,
                            const struct BitmapInfoBuffer *info, DWORD colorTableBytes,
                            const void *pixels)
{
    if (fileName == NULL || fileName[0] == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    size_t nameLength = strlen(fileName);
    HANDLE heap = GetProcessHeap();
    char *tempName = (char *)HeapAlloc(heap, 0, nameLength + sizeof(kTempPrefix) + kMaxTempDigits +
                                                    sizeof(kTempSuffix));
    if (tempName == NULL)
        return FALSE;
    HANDLE file = CreateTempBeside(fileName, nameLength, tempName);
    if (file == INVALID_HANDLE_VALUE) {
        HeapFree(heap, 0, tempName);
        return FALSE;
    }

    BOOL ok = WriteWhole(file, fileHeader, kFileHeaderBytes) &&
              WriteWhole(file, info, info->header.biSize + colorTableBytes) &&
              WriteWhole(file, pixels, info->header.biSizeImage);
    // A failed close can mean data that never reached the disk.
    if (!CloseHandle(file))
        ok = FALSE;
    if (ok)
        ok = MoveFileExA(tempName, fileName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileA(tempName);
    HeapFree(heap, 0, tempName);
    return ok;
}

BOOL SaveBitmapToFileA(LPCSTR lpFileName, HBITMAP hBitmap)
{
    // Anything but a bitmap (a pen, say) reports a record of another size.
    BITMAP bm;
    if (GetObjectA(hBitmap, sizeof(BITMAP), &bm) != (int)sizeof(BITMAP))
        return FALSE;

    struct BitmapInfoBuffer info;
    if (!ComposeInfoHeader(&bm, &info.header))
        return FALSE;
    DWORD colorTableBytes = ChooseCompression(hBitmap, &info.header);

    BITMAPFILEHEADER fileHeader;
    ComposeFileHeader(&info.header, colorTableBytes, &fileHeader);

    HANDLE heap = GetProcessHeap();
    void *pixels = HeapAlloc(heap, 0, info.header.biSizeImage);
    if (pixels == NULL)
        return FALSE;

    BOOL result = FALSE;
    HDC workDC = CreateCompatibleDC(NULL);
    if (workDC != NULL) {
        if (GetDIBits(workDC, hBitmap, 0, (UINT)bm.bmHeight, pixels, (BITMAPINFO *)&info,
                      DIB_RGB_COLORS) != 0)
            result = WriteBitmapFile(lpFileName, &fileHeader, &info, colorTableBytes, pixels);
        DeleteDC(workDC);
    }
    HeapFree(heap, 0, pixels);
    return result;
}

// ---- Loader -------------------------------------------------------------

// Reads exactly `bytes` bytes; a short read (a truncated file) is a failure,
// so no byte that the file did not supply is ever used.
static BOOL ReadWhole(HANDLE file, void *buffer, DWORD bytes)
{
    DWORD read = 0;
    return ReadFile(file, buffer, bytes, &read, NULL) && read == bytes;
}

// The acceptance rule for the module's own reader: a BMP signature, zero
// reserved words, at least one byte of pixels and a header block that fits
// the info buffer and holds at least a whole info header.
static BOOL IsAcceptableFileHeader(const BITMAPFILEHEADER *fileHeader)
{
    return fileHeader->bfType == kBitmapFileType && fileHeader->bfReserved1 == 0 &&
           fileHeader->bfReserved2 == 0 && fileHeader->bfSize > fileHeader->bfOffBits &&
           fileHeader->bfOffBits >= kFileHeaderBytes + kInfoHeaderBytes &&
           fileHeader->bfOffBits <= kMaxOffBits &&
           fileHeader->bfSize - fileHeader->bfOffBits <= kMaxPixelBlockBytes;
}

// Checks that the header block read from the file supplies everything that
// the platform will read from it (the info header, bitfield masks and the
// colour table) and that the pixel block holds every row the geometry
// needs. The platform trusts both buffers, so a short one would be read
// past its end.
static BOOL HeaderMatchesBlocks(const BITMAPINFOHEADER *header, DWORD headerBlockBytes,
                                DWORD pixelBytes)
{
    if (header->biSize < kInfoHeaderBytes || header->biSize > headerBlockBytes)
        return FALSE;
    if (header->biWidth <= 0 || header->biHeight == 0 || header->biHeight < -0x7FFFFFFF)
        return FALSE;
    if (header->biBitCount == 0 || header->biBitCount > 32)
        return FALSE;

    ULONGLONG tableBytes = 0;
    if (header->biBitCount <= 8) {
        DWORD entries = header->biClrUsed;
        if (entries == 0 || entries > (1u << header->biBitCount))
            entries = 1u << header->biBitCount;
        tableBytes = (ULONGLONG)entries * sizeof(RGBQUAD);
    } else if (header->biCompression == BI_BITFIELDS && header->biSize == kInfoHeaderBytes) {
        tableBytes = 3 * sizeof(DWORD);
    }
    if (header->biSize + tableBytes > headerBlockBytes)
        return FALSE;

    ULONGLONG rows = header->biHeight < 0 ? (ULONGLONG)(-(LONGLONG)header->biHeight)
                                            : (ULONGLONG)header->biHeight;
    return PaddedRowBytes(header->biWidth, header->biBitCount) * rows <= pixelBytes;
}

// Whether the open file is at least `bytes` long. A header that claims more
// than the file holds is refused before its pixel buffer is allocated, so a
// few bytes cannot ask for a gigabyte.
static BOOL FileHolds(HANDLE file, DWORD bytes)
{
    // A low half of 0xFFFFFFFF is also a real size; the error code tells
    // the two apart, so it is cleared first.
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return FALSE;
    return high != 0 || low >= bytes;
}

// Reads the header block and the pixel block that follow the file header.
static BOOL ReadBlocks(HANDLE file, const BITMAPFILEHEADER *fileHeader,
                       struct BitmapInfoBuffer *info, void *pixels)
{
    DWORD headerBlockBytes = fileHeader->bfOffBits - kFileHeaderBytes;
    DWORD pixelBytes = fileHeader->bfSize - fileHeader->bfOffBits;
    return ReadWhole(file, info, headerBlockBytes) && ReadWhole(file, pixels, pixelBytes) &&
           HeaderMatchesBlocks(&info->header, headerBlockBytes, pixelBytes);
}

// Makes a device-independent bitmap of the header's geometry and copies
// the pixel rows in; bottom-up and top-down rows are both taken whole.
static HBITMAP MakeBitmap(const struct BitmapInfoBuffer *info, const void *pixels)
{
    VOID *bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, (const BITMAPINFO *)info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap == NULL)
        return NULL;

    LONG height = info->header.biHeight;
    UINT rows = (UINT)(height < 0 ? -height : height);
    HDC workDC = CreateCompatibleDC(NULL);
    if (workDC == NULL ||
        SetDIBits(workDC, bitmap, 0, rows, pixels, (const BITMAPINFO *)info, DIB_RGB_COLORS) == 0) {
        DeleteObject(bitmap);
        bitmap = NULL;
    }
    if (workDC != NULL)
        DeleteDC(workDC);
    return bitmap;
}

HBITMAP LoadBitmapFromFileA(LPCSTR lpFileName)
{
    HANDLE image = LoadImageA(NULL, lpFileName, IMAGE_BITMAP, 0, 0,
                              LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (image != NULL)
        return (HBITMAP)image;

    HANDLE file = CreateFileA(lpFileName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;

    // Only a file on disk is read: a pipe or a device could hold the reader
    // waiting for bytes that never come.
    BITMAPFILEHEADER fileHeader;
    if (GetFileType(file) != FILE_TYPE_DISK || !ReadWhole(file, &fileHeader, kFileHeaderBytes)) {
        CloseHandle(file);
        return NULL;
    }

    HANDLE heap = GetProcessHeap();
    void *pixels = NULL;
    // Zeroed so that no byte of the buffer is left undefined, whatever the
    // header block's length.
    struct BitmapInfoBuffer info;
    memset(&info, 0, sizeof(info));
    if (IsAcceptableFileHeader(&fileHeader) && FileHolds(file, fileHeader.bfSize))
        pixels = HeapAlloc(heap, 0, fileHeader.bfSize - fileHeader.bfOffBits);
    if (pixels != NULL && !ReadBlocks(file, &fileHeader, &info, pixels)) {
        HeapFree(heap, 0, pixels);
        pixels = NULL;
    }
    CloseHandle(file);
    if (pixels == NULL)
        return NULL;

    HBITMAP bitmap = MakeBitmap(&info, pixels);
    HeapFree(heap, 0, pixels);
    return bitmap;
}
