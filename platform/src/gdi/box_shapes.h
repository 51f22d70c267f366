// Figures inside a box: Rectangle (no corners), RoundRect and Ellipse
// (corners the whole box's size).
#ifndef STANDIN_GDI_BOX_SHAPES_H
#define STANDIN_GDI_BOX_SHAPES_H

#include "gdi/figure.h"

namespace standin {

// Draws the figure in the normalised box with the tools' brush and pen.
// May throw std::bad_alloc.
void DrawBoxFigure(FigureTools& tools, const RECT& box, std::int64_t cornerWidth, std::int64_t cornerHeight);

}  // namespace standin

#endif
