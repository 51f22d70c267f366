// Test hooks of the Win32 stand-in: counts of live resources, so that tests
// can prove nothing leaked, and fault injection, so that every failure path
// of code built on the stand-in can be driven on purpose.
#ifndef STANDIN_TESTING_H
#define STANDIN_TESTING_H

#include <cstddef>

namespace standin {

// Calls that can be made to fail on purpose.
enum class Call {
    CreateCompatibleDC,
    CreateDIBSection,
    SelectObject,
    GetObjectA,
    GetDIBits,
    SetDIBits,
    StretchBlt,
    LoadImageA,
    CreateFileA,
    ReadFile,
    WriteFile,
    CloseHandle,
    DeleteFileA,
    MoveFileExA,
    HeapAlloc,
    CreateRectRgn,  // every call that makes a region object
    CombineRgn,     // every call that combines two regions, the clipping calls included
    Count
};

enum class Fault {
    // The call fails as the platform documents (NULL, FALSE, 0 or
    // INVALID_HANDLE_VALUE) and sets a plausible last-error code.
    Fail,
    // ReadFile and WriteFile succeed but move only half of the bytes asked
    // for (at least one fewer), as a full disk or a truncated file would.
    ShortTransfer,
};

// Makes the n-th call of `call` from now on (1 is the very next one) fail
// with `fault`. Replaces any fault pending for that call.
void FailNthCall(Call call, int n, Fault fault = Fault::Fail);

// Clears every pending fault.
void ClearFaults();

// How many times `call` has been made since the last ClearFaults.
int CallCount(Call call);

// Why the BMP loader behind LoadImageA refuses a file's contents (the
// request, the file system and memory aside). LoadImageA reports every one
// of these as ERROR_INVALID_DATA.
enum class BmpRefusal {
    None,               // the file loads
    NotBmp,             // no "BM" signature
    TruncatedHeaders,   // the file ends inside the file header, bitmap header or masks
    UnknownHeaderSize,  // a bitmap header of a size no version has
    BadPlanes,          // a plane count other than 1
    BadGeometry,        // a width of 0 or less, a height of 0 or INT32_MIN
    TooLarge,           // sides or pixel block beyond the stand-in's limits
    UnsupportedFormat,  // a bit count and compression that go nowhere together
    TopDownRunLength,   // run-length pixels in top-down rows
    BadMasks,           // bitfield masks empty, split, overlapping or past the pixel
    BadPixelOffset,     // pixels said to start inside the headers or past the end
    NoColourTable,      // an indexed picture without a single colour
    TruncatedPixels,    // fewer bytes of pixels than the rows take
    BadRunLength,       // a run-length stream that leaves the picture or stops short
    RunLengthBomb,      // a run-length stream too short for the picture it declares
};

// Takes `size` bytes of a BMP file apart and decodes them as LoadImageA
// would, and says why they would be refused (None when they load).
BmpRefusal ExamineBmp(const void* bytes, std::size_t size);

// Vector instruction sets the stand-in may use: none, up to SSSE3, up to
// AVX2, or all the processor has (the default). Tests lower it so that
// every version of a routine is checked on one machine; it applies to calls
// made afterwards.
enum class SimdLimit { Portable, Ssse3, Avx2, All };
void LimitSimd(SimdLimit limit);

// The routine that made the rows of the latest StretchBlt or BitBlt that
// drew pixels, by name ("HALFTONE 2:1 AVX2", "HALFTONE two-pass AVX2",
// "COLORONCOLOR picks", ...), so that a benchmark or a test can say what
// ran; empty before the first. The name is a constant string.
const char* LastBlitRoute();

// With false, StretchBlt and BitBlt skip every dedicated route (exact 2:1
// reductions, plain row copies, the common raster operations' own loops,
// whole-row vector kernels) and take the general route of the job, so the
// two can be compared on the same pictures; true (the default) restores
// them. Applies to calls made afterwards.
void UseDedicatedRoutes(bool use);

// Live GDI objects made by the caller (stock objects excluded).
std::size_t LiveGdiObjects();
// Open file handles.
std::size_t OpenFiles();
// Heap blocks handed out by HeapAlloc and not yet freed.
std::size_t LiveHeapBlocks();
// Global and local memory objects, fixed and movable, not yet freed.
std::size_t LiveMemoryObjects();

}  // namespace standin

#endif
