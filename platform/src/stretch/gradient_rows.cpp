#include "stretch/gradient_rows.h"

#include "pixels/row_codec.h"
#include "stretch/exact_steps.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace standin {
namespace {

constexpr int kChannels = 4;

// floor(n / d) for d > 0.
std::int64_t FloorDivide(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

std::uint8_t HighByte(std::int64_t value) { return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 0xFFFF) >> 8); }

// The colour at `offset` of `span` between c0 and c1, as a working pixel.
void Interpolate(const GradientVertex& from, const GradientVertex& to, std::int64_t offset, std::int64_t span,
                 std::uint8_t* out) {
    for (int c = 0; c < kChannels; ++c) {
        const std::int64_t c0 = from.channels[c], c1 = to.channels[c];
        out[c] = HighByte(c0 + FloorDivide((c1 - c0) * offset, span));
    }
}

struct Span {
    std::int32_t first = 0, end = 0;  // clipped to the window
};

Span Clip(std::int64_t lo, std::int64_t hi, DrawnRange window) {
    const std::int64_t begin = window.first, end = std::int64_t{window.first} + window.count;
    Span s;
    s.first = static_cast<std::int32_t>(std::clamp<std::int64_t>(lo, begin, end));
    s.end = static_cast<std::int32_t>(std::clamp<std::int64_t>(hi, begin, end));
    return s;
}

class RowWriter {
public:
    explicit RowWriter(const Surface& target)
        : target_(target), codec_(target.dib().format, target.dib().colors.data(), target.dib().colorCount) {}
    void Write(std::int32_t y, std::int32_t first, std::int32_t count, const std::uint8_t* pixels) {
        codec_.Pack(pixels, first, count, target_.Row(y));
    }

private:
    Surface target_;
    RowCodec codec_;
};

// An edge function on doubled coordinates (pixel centres are odd), with
// the rule for centres that lie on the edge.
struct Edge {
    std::int64_t ax, ay, dx, dy;
    bool includesTies;  // a top or left edge
    Edge(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1)
        : ax(x0), ay(y0), dx(x1 - x0), dy(y1 - y0), includesTies(dy < 0 || (dy == 0 && dx > 0)) {}
    std::int64_t At(std::int64_t px, std::int64_t py) const { return dx * (py - ay) - dy * (px - ax); }
    bool Inside(std::int64_t value) const { return value > 0 || (value == 0 && includesTies); }
};

}  // namespace

void FillGradientRect(const Surface& target, const PixelWindow& window, const GradientVertex& a,
                      const GradientVertex& b, bool vertical) {
    const GradientVertex* left = a.x <= b.x ? &a : &b;
    const GradientVertex* top = a.y <= b.y ? &a : &b;
    const std::int64_t x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
    const std::int64_t y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
    const Span columns = Clip(x0, x1, window.columns), rows = Clip(y0, y1, window.rows);
    if (columns.first >= columns.end || rows.first >= rows.end) return;
    const std::int32_t count = columns.end - columns.first;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(count) * kWorkBytesPerPixel);
    RowWriter writer(target);
    if (!vertical) {
        const GradientVertex* right = left == &a ? &b : &a;
        for (std::int32_t j = 0; j < count; ++j)
            Interpolate(*left, *right, columns.first + j - x0, x1 - x0, &pixels[std::size_t(j) * kWorkBytesPerPixel]);
    }
    const GradientVertex* bottom = top == &a ? &b : &a;
    for (std::int32_t y = rows.first; y < rows.end; ++y) {
        if (vertical) {
            std::uint8_t colour[kChannels];
            Interpolate(*top, *bottom, y - y0, y1 - y0, colour);
            for (std::int32_t j = 0; j < count; ++j)
                std::copy(colour, colour + kChannels, &pixels[std::size_t(j) * kWorkBytesPerPixel]);
        }
        writer.Write(y, columns.first, count, pixels.data());
    }
}

void FillGradientTriangle(const Surface& target, const PixelWindow& window, const GradientVertex& a,
                          const GradientVertex& b, const GradientVertex& c) {
    const GradientVertex* v[3] = {&a, &b, &c};
    auto doubled = [](std::int64_t value) { return 2 * value; };
    auto area = [&] {
        return Edge(doubled(v[0]->x), doubled(v[0]->y), doubled(v[1]->x), doubled(v[1]->y))
            .At(doubled(v[2]->x), doubled(v[2]->y));
    };
    std::int64_t twiceArea = area();
    if (twiceArea == 0) return;  // no pixel centre lies strictly inside a line
    if (twiceArea < 0) {
        std::swap(v[1], v[2]);
        twiceArea = -twiceArea;
    }
    // Edge i lies opposite vertex i: its value is vertex i's weight.
    const Edge edges[3] = {Edge(doubled(v[1]->x), doubled(v[1]->y), doubled(v[2]->x), doubled(v[2]->y)),
                           Edge(doubled(v[2]->x), doubled(v[2]->y), doubled(v[0]->x), doubled(v[0]->y)),
                           Edge(doubled(v[0]->x), doubled(v[0]->y), doubled(v[1]->x), doubled(v[1]->y))};
    const Span columns = Clip(std::min({a.x, b.x, c.x}), std::max({a.x, b.x, c.x}), window.columns);
    const Span rows = Clip(std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y}), window.rows);
    if (columns.first >= columns.end) return;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(columns.end - columns.first) * kWorkBytesPerPixel);
    RowWriter writer(target);
    for (std::int32_t y = rows.first; y < rows.end; ++y) {
        // Edge values and colour numerators at this row's first centre,
        // stepped exactly from one centre to the next.
        const std::int64_t py = 2 * std::int64_t{y} + 1, px = 2 * std::int64_t{columns.first} + 1;
        std::int64_t e[3], step[3];
        for (int k = 0; k < 3; ++k) e[k] = edges[k].At(px, py), step[k] = -2 * edges[k].dy;
        auto channel = [&](int ch) {
            Wide start = 0, delta = 0;
            for (int k = 0; k < 3; ++k) {
                start += Wide{e[k]} * v[k]->channels[ch];
                delta += Wide{step[k]} * v[k]->channels[ch];
            }
            return ExactStepper(start, delta, twiceArea);
        };
        ExactStepper colour[kChannels] = {channel(0), channel(1), channel(2), channel(3)};
        std::int32_t first = -1, end = -1;
        for (std::int32_t x = columns.first; x < columns.end; ++x) {
            if (edges[0].Inside(e[0]) && edges[1].Inside(e[1]) && edges[2].Inside(e[2])) {
                if (first < 0) first = x;
                end = x + 1;
                std::uint8_t* out = &pixels[std::size_t(x - first) * kWorkBytesPerPixel];
                for (int ch = 0; ch < kChannels; ++ch) out[ch] = HighByte(static_cast<std::int64_t>(colour[ch].value()));
            } else if (first >= 0) {
                break;  // a triangle's row is one run
            }
            for (int k = 0; k < 3; ++k) e[k] += step[k];
            for (ExactStepper& c : colour) c.Next();
        }
        if (first >= 0) writer.Write(y, first, end - first, pixels.data());
    }
}

}  // namespace standin
