// Region objects: rectangles, the set operations of CombineRgn, moving,
// comparing and testing regions, and their RGNDATA form.
//
// A region is kept in device pixels as bands of rectangles
// (region/band_region.h); rectangles given with their corners in any order
// are put in order, right and bottom edges excluded, and coordinates beyond
// the platform's 27 bits are brought to its limit. A region that would
// grow past kMaxRegionRectangles rectangles is refused with
// ERROR_NOT_ENOUGH_MEMORY and the destination left as it was; OffsetRgn
// refuses (ERROR, ERROR_INVALID_PARAMETER) a move that would take a
// coordinate past the limit rather than wrap it. A null or non-region
// handle fails with ERROR_INVALID_HANDLE; a null pointer where a RECT or
// RGNDATA is read fails with ERROR_INVALID_PARAMETER.
#include "gdi/regions.h"

#include "region/region_data.h"
#include "support/api_boundary.h"
#include "support/caller_memory.h"
#include "support/fault_injection.h"
#include "support/last_error.h"

namespace standin {

HRGN InsertRegion(BandRegion shape) {
    if (InjectedFailure(Call::CreateRectRgn)) return Fail<HRGN>(ERROR_NOT_ENOUGH_MEMORY);
    HRGN handle = InsertObject<HRGN>(std::make_unique<Region>(std::move(shape)));
    return handle != nullptr ? handle : Fail<HRGN>(ERROR_NOT_ENOUGH_MEMORY);
}

bool CombineByMode(const BandRegion& a, const BandRegion& b, int mode, BandRegion* out) {
    RegionOp op;
    switch (mode) {
        case RGN_AND: op = RegionOp::And; break;
        case RGN_OR: op = RegionOp::Or; break;
        case RGN_XOR: op = RegionOp::Xor; break;
        case RGN_DIFF: op = RegionOp::Diff; break;
        case RGN_COPY:
            *out = a;
            return true;
        default: return Fail<bool>(ERROR_INVALID_PARAMETER, false);
    }
    if (InjectedFailure(Call::CombineRgn) || !BandRegion::Combine(a, b, op, out))
        return Fail<bool>(ERROR_NOT_ENOUGH_MEMORY, false);
    return true;
}

}  // namespace standin

using namespace standin;

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) try {
    ApiLock lock(ApiMutex());
    return InsertRegion(BandRegion::Rectangle(x1, y1, x2, y2));
} catch (...) {
    return OutOfMemory<HRGN>();
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* lprect) {
    if (lprect == nullptr) return Fail<HRGN>(ERROR_INVALID_PARAMETER);
    return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

BOOL WINAPI SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom) try {
    ApiLock lock(ApiMutex());
    Region* region = Lookup<Region>(hrgn);
    if (region == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    region->shape = BandRegion::Rectangle(left, top, right, bottom);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) try {
    ApiLock lock(ApiMutex());
    Region* to = Lookup<Region>(hrgnDst);
    const Region* first = Lookup<Region>(hrgnSrc1);
    // RGN_COPY reads only the first source.
    const Region* second = iMode == RGN_COPY ? first : Lookup<Region>(hrgnSrc2);
    if (to == nullptr || first == nullptr || second == nullptr) return Fail<int>(ERROR_INVALID_HANDLE, ERROR);
    if (!CombineByMode(first->shape, second->shape, iMode, &to->shape)) return ERROR;
    return ComplexityOf(to->shape);
} catch (...) {
    return OutOfMemory<int>(ERROR);
}

int WINAPI OffsetRgn(HRGN hrgn, int x, int y) try {
    ApiLock lock(ApiMutex());
    Region* region = Lookup<Region>(hrgn);
    if (region == nullptr) return Fail<int>(ERROR_INVALID_HANDLE, ERROR);
    if (!region->shape.Offset(x, y)) return Fail<int>(ERROR_INVALID_PARAMETER, ERROR);
    return ComplexityOf(region->shape);
} catch (...) {
    return OutOfMemory<int>(ERROR);
}

BOOL WINAPI EqualRgn(HRGN hrgn1, HRGN hrgn2) try {
    ApiLock lock(ApiMutex());
    const Region* a = Lookup<Region>(hrgn1);
    const Region* b = Lookup<Region>(hrgn2);
    if (a == nullptr || b == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE, ERROR);
    return a->shape == b->shape ? TRUE : FALSE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y) try {
    ApiLock lock(ApiMutex());
    const Region* region = Lookup<Region>(hrgn);
    if (region == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    return region->shape.Contains(x, y) ? TRUE : FALSE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI RectInRegion(HRGN hrgn, const RECT* lprect) try {
    ApiLock lock(ApiMutex());
    const Region* region = Lookup<Region>(hrgn);
    if (region == nullptr) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (lprect == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    const RegionRect r = OrderedRect(lprect->left, lprect->top, lprect->right, lprect->bottom);
    return region->shape.Overlaps(r) ? TRUE : FALSE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc) try {
    ApiLock lock(ApiMutex());
    const Region* region = Lookup<Region>(hrgn);
    if (region == nullptr) return Fail<int>(ERROR_INVALID_HANDLE, ERROR);
    if (lprc == nullptr) return Fail<int>(ERROR_INVALID_PARAMETER, ERROR);
    *lprc = ToRect(region->shape.box());
    return ComplexityOf(region->shape);
} catch (...) {
    return OutOfMemory<int>(ERROR);
}

DWORD WINAPI GetRegionData(HRGN hrgn, DWORD nCount, LPRGNDATA lpRgnData) try {
    ApiLock lock(ApiMutex());
    const Region* region = Lookup<Region>(hrgn);
    if (region == nullptr) return Fail<DWORD>(ERROR_INVALID_HANDLE);
    const std::size_t needed = RegionDataBytes(region->shape);
    // With no buffer the answer is the size it needs; a short one gets nothing.
    if (lpRgnData == nullptr) return static_cast<DWORD>(needed);
    if (nCount < needed) return Fail<DWORD>(ERROR_INVALID_PARAMETER);
    const std::vector<std::uint8_t> record = WriteRegionData(region->shape);
    if (!CopyToCaller(lpRgnData, record.data(), record.size())) return Fail<DWORD>(ERROR_NOACCESS);
    return nCount;
} catch (...) {
    return OutOfMemory<DWORD>();
}

HRGN WINAPI ExtCreateRegion(const XFORM* lpx, DWORD nCount, const RGNDATA* lpData) try {
    ApiLock lock(ApiMutex());
    std::vector<RegionRect> rectangles;
    if (!ReadRegionData(lpData, nCount, &rectangles)) return Fail<HRGN>(ERROR_INVALID_PARAMETER);
    if (lpx != nullptr) {
        // Rotations and shears turn the rectangles into parallelograms.
        if (!AxisAligned(*lpx)) return TurnedRegion(rectangles, *lpx);
        for (RegionRect& r : rectangles)
            if (!MapRectangle(*lpx, r, &r)) return Fail<HRGN>(ERROR_INVALID_PARAMETER);
    }
    BandRegion shape;
    if (!UniteRectangles(rectangles, &shape)) return Fail<HRGN>(ERROR_NOT_ENOUGH_MEMORY);
    return InsertRegion(std::move(shape));
} catch (...) {
    return OutOfMemory<HRGN>();
}
