// GradientFill (and GdiGradientFill, its gdi32 name): rectangles shaded
// across or down, and triangles shaded between their corners
// (stretch/gradient_rows.h gives the exact rule for each pixel).
//
// The mesh is checked whole before anything is drawn: an unknown mode, a
// null vertex or mesh array, a vertex index past nVertex or a coordinate
// beyond kMaxGradientCoordinate fails with ERROR_INVALID_PARAMETER and
// leaves the bitmap as it was. An empty mesh draws nothing and succeeds.
// A 32-bit BI_RGB destination takes each vertex's Alpha in its fourth
// byte; other formats store the colour as they store any colour (the
// nearest colour-table entry at 8 bits or fewer). Vertices are logical
// (gdi/coordinates.h) and are checked on the device as well; a rectangle
// that a world transform turns is shaded as two triangles.
#include "gdi/blit_operands.h"
#include "gdi/clipping.h"
#include "space/coordinate_space.h"
#include "stretch/gradient_rows.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <algorithm>

namespace standin {
namespace {

bool Within(LONG v) {
    const std::int64_t magnitude = v < 0 ? -std::int64_t{v} : v;
    return magnitude <= kMaxGradientCoordinate;
}

GradientVertex FromTrivertex(const TRIVERTEX& t) {
    GradientVertex v;
    v.x = t.x;
    v.y = t.y;
    v.channels[0] = t.Blue;
    v.channels[1] = t.Green;
    v.channels[2] = t.Red;
    v.channels[3] = t.Alpha;
    return v;
}

// The vertex indices of mesh element i: three for a triangle, two for a
// rectangle. Returns how many.
int ElementIndices(const void* mesh, ULONG mode, ULONG i, ULONG out[3]) {
    if (mode == GRADIENT_FILL_TRIANGLE) {
        const GRADIENT_TRIANGLE& t = static_cast<const GRADIENT_TRIANGLE*>(mesh)[i];
        out[0] = t.Vertex1, out[1] = t.Vertex2, out[2] = t.Vertex3;
        return 3;
    }
    const GRADIENT_RECT& r = static_cast<const GRADIENT_RECT*>(mesh)[i];
    out[0] = r.UpperLeft, out[1] = r.LowerRight;
    return 2;
}

// A vertex on the device: a triangle's corner maps as a point, a
// rectangle's as an edge (gdi/coordinates.h). False beyond
// kMaxGradientCoordinate there.
bool OnDevice(const TRIVERTEX& t, const Affine& map, GradientVertex* out) {
    *out = FromTrivertex(t);
    const double x = t.x, y = t.y;
    return RoundCoordinate(map.X(x, y), kMaxGradientCoordinate, &out->x) &&
           RoundCoordinate(map.Y(x, y), kMaxGradientCoordinate, &out->y);
}

bool ValidMesh(const TRIVERTEX* vertex, ULONG nVertex, const void* mesh, ULONG nMesh, ULONG mode,
               const LogicalMapping& mapping) {
    const Affine& map = mode == GRADIENT_FILL_TRIANGLE ? mapping.points() : mapping.edges();
    GradientVertex unused;
    for (ULONG i = 0; i < nMesh; ++i) {
        ULONG index[3];
        const int n = ElementIndices(mesh, mode, i, index);
        for (int k = 0; k < n; ++k)
            if (index[k] >= nVertex || !Within(vertex[index[k]].x) || !Within(vertex[index[k]].y) ||
                !OnDevice(vertex[index[k]], map, &unused))
                return false;
    }
    return true;
}

// A rectangle of the mesh that a rotation or shear turns: the device
// corners of two triangles over it (v[0], v[1], v[2] and v[1], v[3], v[2]),
// each corner the colour its side of the rectangle has, which shade it
// exactly as the rectangle shades across or down.
void TurnedGradientCorners(const TRIVERTEX& a, const TRIVERTEX& b, bool vertical, const Affine& edges,
                           GradientVertex v[4]) {
    // Across, a corner takes the colour of the vertex it shares x with;
    // down, the one it shares y with.
    TRIVERTEX corner[4] = {a, vertical ? a : b, vertical ? b : a, b};
    corner[1].x = b.x, corner[1].y = a.y;
    corner[2].x = a.x, corner[2].y = b.y;
    for (int i = 0; i < 4; ++i) OnDevice(corner[i], edges, &v[i]);
}

// The pixels [0, limit) that device vertices span on one axis.
DrawnRange Extent(const GradientVertex* v, int n, std::int64_t GradientVertex::*axis, std::int32_t limit) {
    std::int64_t lo = v[0].*axis, hi = lo;
    for (int k = 1; k < n; ++k) lo = std::min(lo, v[k].*axis), hi = std::max(hi, v[k].*axis);
    lo = std::clamp<std::int64_t>(lo, 0, limit);
    hi = std::clamp<std::int64_t>(hi, 0, limit);
    return DrawnRange{static_cast<std::int32_t>(lo), static_cast<std::int32_t>(hi - lo)};
}

BOOL Gradient(HDC hdc, const TRIVERTEX* vertex, ULONG nVertex, const void* mesh, ULONG nMesh, ULONG mode) {
    Operands to;
    if (!FindOperands(hdc, &to)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V && mode != GRADIENT_FILL_TRIANGLE)
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    if (nMesh == 0) return TRUE;
    const LogicalMapping mapping = MappingOnto(*to.context, *to.bitmap);
    if (vertex == nullptr || mesh == nullptr || !ValidMesh(vertex, nVertex, mesh, nMesh, mode, mapping))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);

    const Surface target(to.bitmap->pixels.get(), to.bitmap->dib);
    const DrawClip clip(*to.context);
    const bool vertical = mode == GRADIENT_FILL_RECT_V;
    for (ULONG i = 0; i < nMesh; ++i) {
        ULONG index[3];
        int corners = ElementIndices(mesh, mode, i, index);
        GradientVertex v[4];
        if (mode == GRADIENT_FILL_TRIANGLE) {
            for (int k = 0; k < 3; ++k) OnDevice(vertex[index[k]], mapping.points(), &v[k]);
        } else if (!mapping.axisAligned()) {
            TurnedGradientCorners(vertex[index[0]], vertex[index[1]], vertical, mapping.edges(), v);
            corners = 4;
        } else {
            for (int k = 0; k < 2; ++k) OnDevice(vertex[index[k]], mapping.edges(), &v[k]);
        }
        // Each element is shaded once per clip rectangle it reaches.
        clip.Rectangles(Extent(v, corners, &GradientVertex::x, to.bitmap->width()),
                        Extent(v, corners, &GradientVertex::y, to.bitmap->height()),
                        [&](DrawnRange columns, DrawnRange rows) {
                            const PixelWindow window{columns, rows};
                            if (corners == 2) return FillGradientRect(target, window, v[0], v[1], vertical);
                            FillGradientTriangle(target, window, v[0], v[1], v[2]);
                            if (corners == 4) FillGradientTriangle(target, window, v[1], v[3], v[2]);
                        });
    }
    return TRUE;
}

}  // namespace
}  // namespace standin

using namespace standin;

BOOL WINAPI GradientFill(HDC hdc, PTRIVERTEX pVertex, ULONG nVertex, PVOID pMesh, ULONG nMesh, ULONG ulMode) try {
    ApiLock lock(ApiMutex());
    return Gradient(hdc, pVertex, nVertex, pMesh, nMesh, ulMode);
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI GdiGradientFill(HDC hdc, PTRIVERTEX pVertex, ULONG nVertex, PVOID pMesh, ULONG nMesh, ULONG ulMode) {
    return GradientFill(hdc, pVertex, nVertex, pMesh, nMesh, ulMode);
}
