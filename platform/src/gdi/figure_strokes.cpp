#include "gdi/figure_strokes.h"

#include "gdi/pen_lines.h"
#include "gdi/wide_line.h"
#include "raster/polygon.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace standin {
namespace {

// One convex piece of a wide outline: a flat-ended band or disc, or a small
// polygon (a join or a square cap).
struct Piece {
    std::vector<WideLine> line;  // one, or none for a polygon
    FixedPoint corners[4];
    std::size_t cornerCount = 0;
    std::int64_t firstRow = 0, endRow = 0;

    bool Row(std::int64_t y, std::int64_t* left, std::int64_t* right) const {
        if (!line.empty()) return line.front().Row(y, left, right);
        return ConvexRow(corners, cornerCount, y, left, right);
    }
};

struct Vector {
    double x, y;
};

Piece LinePiece(const WideLine& line) {
    Piece piece;
    piece.line.push_back(line);
    piece.firstRow = line.firstRow();
    piece.endRow = line.endRow();
    return piece;
}

Piece PolygonPiece(std::initializer_list<Vector> corners) {
    Piece piece;
    double top = 1e300, bottom = -1e300;
    for (const Vector& c : corners) {
        piece.corners[piece.cornerCount++] = FixedPoint{std::llround(c.x), std::llround(c.y)};
        top = std::min(top, c.y);
        bottom = std::max(bottom, c.y);
    }
    piece.firstRow = static_cast<std::int64_t>(std::floor(top / kSubpixel));
    piece.endRow = static_cast<std::int64_t>(std::ceil(bottom / kSubpixel)) + 1;
    return piece;
}

class WideOutline {
public:
    WideOutline(const Pen& pen, std::int64_t width) : width_(width) {
        // Even widths run through the pixels' top-left corners (gdi/wide_line.h).
        shift_ = width % 2 == 0 ? -kSubpixel / 2.0 : 0.0;
        half_ = static_cast<double>(width) * kSubpixel / 2;
        join_ = JoinOf(pen);
        cap_ = CapOf(pen);
    }

    void Build(const std::vector<POINT>& path, bool closed) {
        const std::size_t n = path.size();
        if (n == 1) return Cap(path[0], path[0]);
        const std::size_t segments = closed ? n : n - 1;
        for (std::size_t i = 0; i < segments; ++i) {
            const POINT a = path[i], b = path[(i + 1) % n];
            pieces_.push_back(LinePiece(WideLine(width_, a.x, a.y, b.x, b.y, LineCap::Flat)));
        }
        for (std::size_t i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i)
            Join(path[(i + n - 1) % n], path[i], path[(i + 1) % n]);
        if (!closed) {
            Cap(path[0], path[1]);
            Cap(path[n - 1], path[n - 2]);
        }
    }

    void Paint(SpanPainter& painter, const ScanWindow& window) {
        std::sort(pieces_.begin(), pieces_.end(), [](const Piece& a, const Piece& b) { return a.firstRow < b.firstRow; });
        std::vector<const Piece*> active;
        RowRuns runs;
        std::size_t next = 0;
        std::int64_t y = pieces_.empty() ? window.bottom : std::max<std::int64_t>(window.top, pieces_.front().firstRow);
        for (; y < window.bottom; ++y) {
            active.erase(std::remove_if(active.begin(), active.end(), [y](const Piece* p) { return p->endRow <= y; }),
                         active.end());
            while (next < pieces_.size() && pieces_[next].firstRow <= y) {
                if (pieces_[next].endRow > y) active.push_back(&pieces_[next]);
                ++next;
            }
            if (active.empty()) {
                if (next == pieces_.size()) break;
                y = pieces_[next].firstRow - 1;
                continue;
            }
            runs.Clear();
            for (const Piece* p : active) {
                std::int64_t left, right;
                if (p->Row(y, &left, &right)) runs.Add(left, right, window);
            }
            runs.Merge();
            for (std::size_t i = 0; i < runs.size(); ++i)
                painter.Run(static_cast<std::int32_t>(y), runs.data()[i].left, runs.data()[i].right);
        }
    }

private:
    Vector At(POINT p) const {
        return Vector{static_cast<double>(p.x) * kSubpixel + shift_, static_cast<double>(p.y) * kSubpixel + shift_};
    }
    static Vector Unit(POINT from, POINT to) {
        const double dx = static_cast<double>(to.x) - from.x, dy = static_cast<double>(to.y) - from.y;
        const double length = std::hypot(dx, dy);
        return Vector{dx / length, dy / length};
    }

    void Disc(POINT p) { pieces_.push_back(LinePiece(WideLine(width_, p.x, p.y, p.x, p.y, LineCap::Round))); }

    // The cap at `end` of the line between `other` and `end`.
    void Cap(POINT end, POINT other) {
        if (cap_ == LineCap::Round) return Disc(end);
        if (cap_ != LineCap::Square || (end.x == other.x && end.y == other.y)) return;
        const Vector d = Unit(other, end), n{-d.y, d.x}, v = At(end);
        pieces_.push_back(PolygonPiece({{v.x + n.x * half_, v.y + n.y * half_},
                                        {v.x + (n.x + d.x) * half_, v.y + (n.y + d.y) * half_},
                                        {v.x + (d.x - n.x) * half_, v.y + (d.y - n.y) * half_},
                                        {v.x - n.x * half_, v.y - n.y * half_}}));
    }

    void Join(POINT previous, POINT corner, POINT next) {
        if (join_ == PS_JOIN_ROUND) return Disc(corner);
        const Vector d1 = Unit(previous, corner), d2 = Unit(corner, next);
        const double cross = d1.x * d2.y - d1.y * d2.x;
        if (cross == 0) return;  // straight on, or straight back: no corner to fill
        // The outer side of the turn, and the two bands' corners there.
        const double side = cross > 0 ? -1 : 1;
        const Vector n1{-d1.y * side, d1.x * side}, n2{-d2.y * side, d2.x * side}, v = At(corner);
        const Vector c1{v.x + n1.x * half_, v.y + n1.y * half_}, c2{v.x + n2.x * half_, v.y + n2.y * half_};
        const Vector sum{n1.x + n2.x, n1.y + n2.y};
        const double sumSquared = sum.x * sum.x + sum.y * sum.y;
        // The miter's point lies 2 / |n1 + n2| half-widths from the corner.
        if (join_ == PS_JOIN_MITER && sumSquared * kMiterLimit * kMiterLimit >= 4) {
            const Vector tip{v.x + sum.x * half_ * 2 / sumSquared, v.y + sum.y * half_ * 2 / sumSquared};
            pieces_.push_back(PolygonPiece({v, c1, tip, c2}));
            return;
        }
        pieces_.push_back(PolygonPiece({v, c1, c2}));
    }

    std::int64_t width_;
    double shift_, half_;
    DWORD join_;
    LineCap cap_;
    std::vector<Piece> pieces_;
};

}  // namespace

void StrokeFigure(FigureTools& tools, const POINT* points, std::size_t count, bool closed) {
    if (tools.pen == nullptr || count == 0) return;
    if (tools.penWidth <= 1 || tools.dashed) {
        const std::size_t lines = closed ? count : count - 1;
        for (std::size_t i = 0; i < lines; ++i)
            DrawPenLine(*tools.context, *tools.bitmap, *tools.pen, tools.penWidth, points[i], points[(i + 1) % count]);
        return;
    }
    // Repeated points make no line and no corner.
    std::vector<POINT> path;
    for (std::size_t i = 0; i < count; ++i)
        if (path.empty() || path.back().x != points[i].x || path.back().y != points[i].y) path.push_back(points[i]);
    if (closed && path.size() > 1 && path.back().x == path.front().x && path.back().y == path.front().y) path.pop_back();
    if (closed && path.size() < 2) return;
    WideOutline outline(*tools.pen, tools.penWidth);
    outline.Build(path, closed && path.size() > 2);
    SpanPainter painter = PenPainter(tools);
    outline.Paint(painter, tools.window());
}

}  // namespace standin
