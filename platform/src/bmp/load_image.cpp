// LoadImageA for bitmap files: the headers are read and checked, then the
// pixels go from the file into the DIB section, straight where the section
// holds them as the file stores them and through a bounded window where they
// are converted or run-length decoded. No copy of the whole file is made.
//
// Supported requests: no module instance, IMAGE_BITMAP, LR_LOADFROMFILE,
// with or without LR_CREATEDIBSECTION and LR_MONOCHROME, any size (see
// load_options.h), and LR_DEFAULTSIZE (which concerns icons and cursors
// only). Other flags (LR_LOADTRANSPARENT, LR_SHARED, ...) are refused, as
// are resources and OEM images.
#include "support/api_boundary.h"
#include "bmp/decoder.h"
#include "bmp/load_options.h"
#include "bmp/image.h"
#include "kernel/read_only_file.h"
#include "support/fault_injection.h"
#include "support/last_error.h"
#include "pixels/pixel_format.h"

using namespace standin;

namespace {

constexpr UINT kSupportedFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE | LR_MONOCHROME;

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

// Opens, measures and checks the file, then decodes it and applies the
// requested size and colour options.
HANDLE LoadBmpFile(LPCSTR name, int cx, int cy, UINT fuLoad) {
    kernel::ReadOnlyFile file;
    const DWORD error = file.Open(name);
    if (error != ERROR_SUCCESS) return Fail<HANDLE>(error);
    if (file.size() > static_cast<std::uint64_t>(kMaxFileBytes)) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    bmp::BmpImage image;
    BmpRefusal refusal;
    if (!bmp::ParseBmpFile(file, &image, &refusal)) return Fail<HANDLE>(ERROR_READ_FAULT);
    if (refusal != BmpRefusal::None) return Fail<HANDLE>(ERROR_INVALID_DATA);
    HBITMAP decoded = bmp::CreateBitmapFromBmp(file, image);
    return decoded != nullptr ? bmp::ApplyLoadOptions(decoded, cx, cy, fuLoad) : nullptr;
}

}  // namespace

HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) try {
    if (InjectedFailure(Call::LoadImageA)) return Fail<HANDLE>(ERROR_NOT_ENOUGH_MEMORY);
    if (!IsSupportedRequest(hInst, type, cx, cy, fuLoad)) return Fail<HANDLE>(ERROR_NOT_SUPPORTED);
    return LoadBmpFile(name, cx, cy, fuLoad);
} catch (...) {
    return OutOfMemory<HANDLE>();
}
