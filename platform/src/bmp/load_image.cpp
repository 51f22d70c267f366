// LoadImageA for bitmap files: the headers are read and checked, then the
// pixels go from the file into the DIB section, straight where the section
// holds them as the file stores them and through a bounded window where they
// are converted or run-length decoded. No copy of the whole file is made.
//
// Supported requests: no module instance, IMAGE_BITMAP, LR_LOADFROMFILE,
// with or without LR_CREATEDIBSECTION (the result is a DIB section either
// way) and LR_DEFAULTSIZE (which concerns icons and cursors only). Other
// flags change colours or share the image (LR_MONOCHROME,
// LR_LOADTRANSPARENT, LR_SHARED, ...) and are refused, as are resources
// and OEM images. The picture is never scaled: cx and cy must each be 0 or
// the file's own width and height.
#include "bmp/decoder.h"
#include "bmp/image.h"
#include "kernel/read_only_file.h"
#include "support/fault_injection.h"
#include "support/last_error.h"
#include "pixels/pixel_format.h"

#include <new>

using namespace standin;

namespace {

constexpr UINT kSupportedFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE;

// Room for the headers, masks, colour table, any gap before the pixels and
// data after them (embedded colour profiles).
constexpr std::int64_t kMaxNonPixelBytes = std::int64_t{1} << 20;
// Largest file taken. 64-bit files, whose pixels take twice the bytes of the
// 32-bit DIB they become, are held to this size as well.
constexpr std::int64_t kMaxFileBytes = kMaxImageBytes + kMaxNonPixelBytes;

bool IsSupportedRequest(HINSTANCE hInst, UINT type, int cx, int cy, UINT fuLoad) {
    return hInst == nullptr && type == IMAGE_BITMAP && (fuLoad & LR_LOADFROMFILE) != 0 &&
           (fuLoad & ~kSupportedFlags) == 0 && cx >= 0 && cy >= 0;
}

bool MatchesRequestedSize(const bmp::BmpImage& image, int cx, int cy) {
    return (cx == 0 || cx == image.width) && (cy == 0 || cy == image.height);
}

// Opens, measures and checks the file, then decodes it.
HANDLE LoadBmpFile(LPCSTR name, int cx, int cy) {
    kernel::ReadOnlyFile file;
    const DWORD error = file.Open(name);
    if (error != ERROR_SUCCESS) return Fail<HANDLE>(error);
    if (file.size() > static_cast<std::uint64_t>(kMaxFileBytes)) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    std::uint8_t head[bmp::kHeadBytes];
    std::size_t headBytes = 0;
    const std::size_t wanted = file.size() < sizeof head ? static_cast<std::size_t>(file.size()) : sizeof head;
    if (!file.ReadAt(0, head, wanted, &headBytes) || headBytes < wanted) return Fail<HANDLE>(ERROR_READ_FAULT);
    bmp::BmpImage image;
    if (!bmp::ParseBmp(bmp::ByteSpan{head, headBytes}, file.size(), &image))
        return Fail<HANDLE>(ERROR_INVALID_DATA);
    if (!MatchesRequestedSize(image, cx, cy)) return Fail<HANDLE>(ERROR_NOT_SUPPORTED);
    return bmp::CreateBitmapFromBmp(file, image);
}

}  // namespace

HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    if (InjectedFailure(Call::LoadImageA)) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    if (!IsSupportedRequest(hInst, type, cx, cy, fuLoad)) return Fail<HANDLE>(ERROR_NOT_SUPPORTED);
    try {
        return LoadBmpFile(name, cx, cy);
    } catch (const std::bad_alloc&) {
        return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    }
}
