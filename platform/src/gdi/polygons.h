// Closed figures filled under the context's fill mode and outlined with its
// pen: Polygon and PolyPolygon, and box figures under a mapping that turns
// them.
#ifndef STANDIN_GDI_POLYGONS_H
#define STANDIN_GDI_POLYGONS_H

#include "gdi/figure.h"

#include <cstddef>
#include <vector>

namespace standin {

// Draws the polygons given one after another in device points, each
// `counts[i]` long. May throw std::bad_alloc.
void DrawPolygonFigures(FigureTools& tools, const POINT* points, const std::vector<std::size_t>& counts);

}  // namespace standin

#endif
