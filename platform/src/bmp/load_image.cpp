// LoadImageA for bitmap files: the whole file is read into memory (within a
// size cap), checked and decoded into a DIB section.
//
// Supported requests: no module instance, IMAGE_BITMAP, LR_LOADFROMFILE,
// with or without LR_CREATEDIBSECTION (the result is a DIB section either
// way) and LR_DEFAULTSIZE (which concerns icons and cursors only). Other
// flags change colours or share the image (LR_MONOCHROME,
// LR_LOADTRANSPARENT, LR_SHARED, ...) and are refused, as are resources
// and OEM images. The picture is never scaled: cx and cy must each be 0 or
// the file's own width and height.
#include "support/api_boundary.h"
#include "bmp/decoder.h"
#include "bmp/image.h"
#include "bmp/file_bytes.h"
#include "support/fault_injection.h"
#include "support/last_error.h"
#include "pixels/pixel_format.h"

using namespace standin;

namespace {

constexpr UINT kSupportedFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE;

// Room for the headers, masks, colour table, any gap before the pixels and
// data after them (embedded colour profiles).
constexpr std::int64_t kMaxNonPixelBytes = std::int64_t{1} << 20;
// Largest file read into memory. 64-bit files, whose pixels take twice the
// bytes of the 32-bit DIB they become, are held to this size as well.
constexpr std::int64_t kMaxFileBytes = kMaxImageBytes + kMaxNonPixelBytes;

bool IsSupportedRequest(HINSTANCE hInst, UINT type, int cx, int cy, UINT fuLoad) {
    return hInst == nullptr && type == IMAGE_BITMAP && (fuLoad & LR_LOADFROMFILE) != 0 &&
           (fuLoad & ~kSupportedFlags) == 0 && cx >= 0 && cy >= 0;
}

bool MatchesRequestedSize(const bmp::BmpImage& image, int cx, int cy) {
    return (cx == 0 || cx == image.width) && (cy == 0 || cy == image.height);
}

}  // namespace

HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) try {
    if (InjectedFailure(Call::LoadImageA)) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    if (!IsSupportedRequest(hInst, type, cx, cy, fuLoad)) return Fail<HANDLE>(ERROR_NOT_SUPPORTED);

    bmp::FileBytes file;
    DWORD error = bmp::ReadWholeFile(name, static_cast<std::size_t>(kMaxFileBytes), &file);
    if (error != ERROR_SUCCESS) return Fail<HANDLE>(error);
    bmp::BmpImage image;
    if (bmp::ParseBmp(file.span(), &image) != BmpRefusal::None) return Fail<HANDLE>(ERROR_INVALID_DATA);
    if (!MatchesRequestedSize(image, cx, cy)) return Fail<HANDLE>(ERROR_NOT_SUPPORTED);
    return bmp::CreateBitmapFromBmp(image);
} catch (...) {
    return OutOfMemory<HANDLE>();
}
