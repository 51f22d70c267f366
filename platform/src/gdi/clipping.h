// The one place every drawing meets its context's clip region and bounds.
//
// Pen and brush drawing reaches pixels through SpanPainter, whose runs pass
// through DrawClip::Row; blits and fills through the row engine run once per
// visible rectangle (DrawClipped, DrawClip::Rectangles), each a job with its
// drawn columns and rows narrowed, so a context without a clip region, or
// with a rectangular one, draws exactly one job as before. While bounds
// accumulation is on (SetBoundsRect), every visible piece drawn is added to
// the context's bounds.
#ifndef STANDIN_GDI_CLIPPING_H
#define STANDIN_GDI_CLIPPING_H

#include "gdi/gdi_objects.h"
#include "stretch/job.h"

#include <vector>

namespace standin {

class DrawClip {
public:
    explicit DrawClip(DcState& state)
        : clip_(state.clip.get()), bounds_(state.boundsEnabled ? &state.bounds : nullptr) {}

    bool clipped() const { return clip_ != nullptr; }

    // f(left, right) for each visible piece of row y's columns [left, right),
    // which the caller has already kept inside the bitmap.
    template <class F>
    void Row(std::int32_t y, std::int32_t left, std::int32_t right, F&& f) const {
        if (clip_ == nullptr) {
            Gather(RegionRect{left, y, right, y + 1});
            return f(left, right);
        }
        clip_->ForEachPieceOfRow(y, left, right, [&](std::int32_t l, std::int32_t r) {
            Gather(RegionRect{l, y, r, y + 1});
            f(l, r);
        });
    }

    // f(columns, rows) for each visible rectangle of the given ones, top to
    // bottom and left to right; once, unchanged, without a clip region.
    template <class F>
    void Rectangles(DrawnRange columns, DrawnRange rows, F&& f) const {
        const RegionRect window{columns.first, rows.first, columns.first + columns.count, rows.first + rows.count};
        if (window.empty()) return;
        if (clip_ == nullptr) {
            Gather(window);
            return f(columns, rows);
        }
        clip_->ForEachRectangleIn(window, [&](const RegionRect& r) {
            Gather(r);
            f(DrawnRange{r.left, r.right - r.left}, DrawnRange{r.top, r.bottom - r.top});
        });
    }

    // Whether more than one visible rectangle lies inside the given ones.
    bool Several(DrawnRange columns, DrawnRange rows) const;

private:
    void Gather(const RegionRect& r) const;

    const BandRegion* clip_;
    RegionRect* bounds_;
};

// Runs draw(job) once per visible rectangle of the job's drawn columns and
// rows, each time with them narrowed to it. When the job reads the bitmap it
// writes and several rectangles are drawn, every one reads the source from
// one copy taken first, so none reads what an earlier one wrote.
template <class Draw>
void DrawClipped(DcState& state, const StretchJob& job, Draw&& draw) {
    const DrawClip clip(state);
    if (!clip.clipped()) return clip.Rectangles(job.columns, job.rows, [&](DrawnRange, DrawnRange) { draw(job); });
    StretchJob piece = job;
    std::vector<std::uint8_t> copy;
    if (job.sharedPixels && clip.Several(job.columns, job.rows)) {
        piece.source = job.source.CopyRows(0, job.source.dib().height, &copy);
        piece.sharedPixels = false;
    }
    clip.Rectangles(job.columns, job.rows, [&](DrawnRange columns, DrawnRange rows) {
        piece.columns = columns;
        piece.rows = rows;
        draw(static_cast<const StretchJob&>(piece));
    });
}

// The whole bitmap as a job's drawn columns and rows.
inline void DrawWholeBitmap(const Bitmap& bitmap, StretchJob* job) {
    job->columns = DrawnRange{0, bitmap.width()};
    job->rows = DrawnRange{0, bitmap.height()};
}

}  // namespace standin

#endif
