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
// nearest colour-table entry at 8 bits or fewer).
#include "gdi/blit_operands.h"
#include "stretch/gradient_rows.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

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

bool ValidMesh(const TRIVERTEX* vertex, ULONG nVertex, const void* mesh, ULONG nMesh, ULONG mode) {
    for (ULONG i = 0; i < nMesh; ++i) {
        ULONG index[3];
        const int n = ElementIndices(mesh, mode, i, index);
        for (int k = 0; k < n; ++k)
            if (index[k] >= nVertex || !Within(vertex[index[k]].x) || !Within(vertex[index[k]].y)) return false;
    }
    return true;
}

BOOL Gradient(HDC hdc, const TRIVERTEX* vertex, ULONG nVertex, const void* mesh, ULONG nMesh, ULONG mode) {
    Operands to;
    if (!FindOperands(hdc, &to)) return Fail<BOOL>(ERROR_INVALID_HANDLE);
    if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V && mode != GRADIENT_FILL_TRIANGLE)
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    if (nMesh == 0) return TRUE;
    if (vertex == nullptr || mesh == nullptr || !ValidMesh(vertex, nVertex, mesh, nMesh, mode))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);

    const Surface target(to.bitmap->pixels.get(), to.bitmap->dib);
    for (ULONG i = 0; i < nMesh; ++i) {
        ULONG index[3];
        ElementIndices(mesh, mode, i, index);
        if (mode == GRADIENT_FILL_TRIANGLE)
            FillGradientTriangle(target, FromTrivertex(vertex[index[0]]), FromTrivertex(vertex[index[1]]),
                                 FromTrivertex(vertex[index[2]]));
        else
            FillGradientRect(target, FromTrivertex(vertex[index[0]]), FromTrivertex(vertex[index[1]]),
                             mode == GRADIENT_FILL_RECT_V);
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
