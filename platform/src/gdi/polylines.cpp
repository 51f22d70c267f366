// Polyline, PolylineTo and PolyPolyline: open figures of lines through the
// caller's points with the selected pen (gdi/figure_strokes.h). Like LineTo,
// a one-pixel pen leaves out each figure's last point. Only PolylineTo
// starts at the current position, moves it to its last point and carries on
// its dash pattern.
#include "gdi/figure.h"
#include "gdi/figure_strokes.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <vector>

using namespace standin;

BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt) try {
    ApiLock lock(ApiMutex());
    if (apt == nullptr || cpt < 2 || cpt > kMaxFigurePoints) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    FigureDashes dashes(*tools.context);
    const std::vector<POINT> device = tools.ToDevice(apt, static_cast<std::size_t>(cpt));
    StrokeFigure(tools, device.data(), device.size(), false);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI PolylineTo(HDC hdc, const POINT* apt, DWORD cpt) try {
    ApiLock lock(ApiMutex());
    if (apt == nullptr || cpt == 0 || cpt > static_cast<DWORD>(kMaxFigurePoints)) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    std::vector<POINT> path{tools.context->position};
    path.insert(path.end(), apt, apt + cpt);
    tools.context->position = apt[cpt - 1];
    const std::vector<POINT> device = tools.ToDevice(path.data(), path.size());
    StrokeFigure(tools, device.data(), device.size(), false);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI PolyPolyline(HDC hdc, const POINT* apt, const DWORD* asz, DWORD csz) try {
    ApiLock lock(ApiMutex());
    if (apt == nullptr || asz == nullptr || csz == 0 || csz > static_cast<DWORD>(kMaxFigurePoints))
        return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    std::int64_t total = 0;
    for (DWORD i = 0; i < csz; ++i)
        if (asz[i] < 2 || (total += asz[i]) > kMaxFigurePoints) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    FigureDashes dashes(*tools.context);
    const std::vector<POINT> device = tools.ToDevice(apt, static_cast<std::size_t>(total));
    const POINT* first = device.data();
    for (DWORD i = 0; i < csz; ++i) {
        tools.context->styleStep = 0;
        StrokeFigure(tools, first, asz[i], false);
        first += asz[i];
    }
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}
