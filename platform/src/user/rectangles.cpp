// The rectangle helpers. A rectangle runs from left to right and from top
// to bottom, excluding its right and bottom edges; it is empty when it has
// no width or no height. Every helper fails (FALSE) when given a null
// rectangle, and IsRectEmpty calls one empty. Coordinates wrap as 32-bit integers do on the platform rather
// than overflowing.
#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace {

LONG Add(LONG a, int b) {
    return static_cast<LONG>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

BOOL Empty(RECT* out) {
    *out = RECT{0, 0, 0, 0};
    return FALSE;
}

}  // namespace

BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
    if (lprc == nullptr) return FALSE;
    *lprc = RECT{xLeft, yTop, xRight, yBottom};
    return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT lprc) {
    if (lprc == nullptr) return FALSE;
    *lprc = RECT{0, 0, 0, 0};
    return TRUE;
}

BOOL WINAPI CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
    if (lprcDst == nullptr || lprcSrc == nullptr) return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

BOOL WINAPI InflateRect(LPRECT lprc, int dx, int dy) {
    if (lprc == nullptr) return FALSE;
    lprc->left = Add(lprc->left, -dx);
    lprc->right = Add(lprc->right, dx);
    lprc->top = Add(lprc->top, -dy);
    lprc->bottom = Add(lprc->bottom, dy);
    return TRUE;
}

BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy) {
    if (lprc == nullptr) return FALSE;
    lprc->left = Add(lprc->left, dx);
    lprc->right = Add(lprc->right, dx);
    lprc->top = Add(lprc->top, dy);
    lprc->bottom = Add(lprc->bottom, dy);
    return TRUE;
}

// A null rectangle has no area either.
BOOL WINAPI IsRectEmpty(const RECT* lprc) { return lprc == nullptr || Empty(*lprc); }

// Compares coordinates: two empty rectangles in different places differ.
BOOL WINAPI EqualRect(const RECT* lprc1, const RECT* lprc2) {
    if (lprc1 == nullptr || lprc2 == nullptr) return FALSE;
    return lprc1->left == lprc2->left && lprc1->top == lprc2->top && lprc1->right == lprc2->right &&
           lprc1->bottom == lprc2->bottom;
}

// On the left or top edge is inside; on the right or bottom edge outside.
BOOL WINAPI PtInRect(const RECT* lprc, POINT pt) {
    if (lprc == nullptr) return FALSE;
    return pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

// Rectangles that do not overlap (an empty one overlaps nothing) leave the
// destination all zeros.
BOOL WINAPI IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) return FALSE;
    const RECT a = *lprcSrc1, b = *lprcSrc2;  // the destination may be either source
    const RECT overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                       std::min(a.bottom, b.bottom)};
    if (Empty(a) || Empty(b) || Empty(overlap)) return Empty(lprcDst);
    *lprcDst = overlap;
    return TRUE;
}

// The smallest rectangle holding both; an empty source is ignored, and two
// empty ones give all zeros.
BOOL WINAPI UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) return FALSE;
    const RECT a = *lprcSrc1, b = *lprcSrc2;
    if (Empty(a) && Empty(b)) return Empty(lprcDst);
    if (Empty(a)) {
        *lprcDst = b;
    } else if (Empty(b)) {
        *lprcDst = a;
    } else {
        *lprcDst = RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                        std::max(a.bottom, b.bottom)};
    }
    return TRUE;
}

// The first rectangle less the second, when what is left is a rectangle:
// the second must span the first completely across one axis and cover one
// end of it along the other. Otherwise the first is kept whole. An empty
// result is all zeros and returns FALSE.
BOOL WINAPI SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) return FALSE;
    RECT rest = *lprcSrc1;
    const RECT cut = *lprcSrc2;
    if (Empty(rest)) return Empty(lprcDst);
    RECT overlap;
    if (IntersectRect(&overlap, &rest, &cut)) {
        const bool acrossX = overlap.left == rest.left && overlap.right == rest.right;
        const bool acrossY = overlap.top == rest.top && overlap.bottom == rest.bottom;
        if (acrossX && acrossY) return Empty(lprcDst);
        if (acrossX) {
            if (overlap.top == rest.top) {
                rest.top = overlap.bottom;
            } else if (overlap.bottom == rest.bottom) {
                rest.bottom = overlap.top;
            }
        } else if (acrossY) {
            if (overlap.left == rest.left) {
                rest.left = overlap.right;
            } else if (overlap.right == rest.right) {
                rest.right = overlap.left;
            }
        }
    }
    *lprcDst = rest;
    return TRUE;
}
