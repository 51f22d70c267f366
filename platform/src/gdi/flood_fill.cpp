// ExtFloodFill and FloodFill: the brush painted over the area of pixels
// reached from a start point through left, right, upper and lower
// neighbours, those not of the border colour (FLOODFILLBORDER) or those of
// the surface colour (FLOODFILLSURFACE). Colours are compared as the bitmap
// stores them: the given colour becomes the value it would be stored as
// (the nearest table entry at 8 bits or fewer), and only a pixel's colour
// bits count (not a 32-bit pixel's fourth byte).
//
// The area is walked a row run at a time, each run painted through the
// context's binary raster operation as soon as it is found. A mask of one
// bit a pixel marks what was taken, so nothing is walked twice whatever the
// brush paints; the work and the memory follow the bitmap's pixels.
#include "gdi/color_ref.h"
#include "gdi/figure.h"
#include "pixels/pixel_values.h"
#include "region/band_region.h"
#include "support/api_boundary.h"
#include "support/last_error.h"

#include <cstdint>
#include <vector>

using namespace standin;

namespace {

// The bits of a stored pixel value that hold its colour.
std::uint32_t ColourBits(const PixelFormat& format) {
    if (format.bitfields) return format.red.mask | format.green.mask | format.blue.mask;
    if (format.bitCount >= 24) return 0xFFFFFF;
    if (format.bitCount == 16) return 0x7FFF;  // 5-5-5
    return (std::uint32_t{1} << format.bitCount) - 1;
}

class Flood {
public:
    Flood(FigureTools& tools, std::uint32_t colour, bool surface)
        : bitmap_(*tools.bitmap), width_(bitmap_.width()), height_(bitmap_.height()),
          bits_(ColourBits(bitmap_.format())), colour_(colour & bits_), surface_(surface),
          taken_((static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) + 63) / 64) {}

    bool Fills(std::int32_t x, std::int32_t y) const { return !Taken(x, y) && Matches(Value(x, y)); }

    void Run(std::int32_t x, std::int32_t y, SpanPainter& painter) {
        std::vector<Seed> seeds{{x, y}};
        while (!seeds.empty()) {
            const Seed seed = seeds.back();
            seeds.pop_back();
            if (!Fills(seed.x, seed.y)) continue;
            std::int32_t left = seed.x, right = seed.x + 1;
            while (left > 0 && Fills(left - 1, seed.y)) --left;
            while (right < width_ && Fills(right, seed.y)) ++right;
            for (std::int32_t i = left; i < right; ++i) Take(i, seed.y);
            painter.Run(seed.y, left, right);
            // One seed for each stretch of fillable pixels above and below.
            for (std::int32_t y : {seed.y - 1, seed.y + 1}) {
                if (y < 0 || y >= height_) continue;
                bool inStretch = false;
                for (std::int32_t i = left; i < right; ++i) {
                    const bool fills = Fills(i, y);
                    if (fills && !inStretch) seeds.push_back(Seed{i, y});
                    inStretch = fills;
                }
            }
        }
    }

private:
    struct Seed {
        std::int32_t x, y;
    };

    std::size_t Index(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }
    bool Taken(std::int32_t x, std::int32_t y) const { return taken_[Index(x, y) / 64] >> (Index(x, y) % 64) & 1; }
    void Take(std::int32_t x, std::int32_t y) { taken_[Index(x, y) / 64] |= std::uint64_t{1} << (Index(x, y) % 64); }
    std::uint32_t Value(std::int32_t x, std::int32_t y) const {
        std::uint32_t value = 0;
        ReadPixelValues(bitmap_.format(), bitmap_.Row(y), x, 1, &value);
        return value & bits_;
    }
    bool Matches(std::uint32_t value) const { return surface_ ? value == colour_ : value != colour_; }

    const Bitmap& bitmap_;
    std::int32_t width_, height_;
    std::uint32_t bits_, colour_;
    bool surface_;
    std::vector<std::uint64_t> taken_;
};

}  // namespace

BOOL WINAPI ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type) try {
    ApiLock lock(ApiMutex());
    if (type != FLOODFILLBORDER && type != FLOODFILLSURFACE) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    FigureTools tools;
    if (!FindFigureTools(hdc, &tools)) return FALSE;
    std::int64_t dx = 0, dy = 0;
    // The start point must be a pixel of the area: fails outside the bitmap
    // or the clip region, on the border colour or off the surface colour.
    if (!tools.mapping->ToDevice(x, y, &dx, &dy) || dx < 0 || dy < 0 || dx >= tools.bitmap->width() ||
        dy >= tools.bitmap->height())
        return FALSE;
    const BandRegion* clip = tools.context->clip.get();
    if (clip != nullptr && !clip->Contains(dx, dy)) return FALSE;
    const std::uint32_t value = InkValue(*tools.bitmap, ResolveInk(tools.context, *tools.bitmap, color));
    Flood flood(tools, value, type == FLOODFILLSURFACE);
    const auto px = static_cast<std::int32_t>(dx), py = static_cast<std::int32_t>(dy);
    if (!flood.Fills(px, py)) return FALSE;
    if (tools.brushInk == nullptr) return TRUE;  // a hollow brush paints nothing
    SpanPainter painter = BrushPainter(tools);
    flood.Run(px, py, painter);
    return TRUE;
} catch (...) {
    return OutOfMemory<BOOL>();
}

BOOL WINAPI FloodFill(HDC hdc, int x, int y, COLORREF color) { return ExtFloodFill(hdc, x, y, color, FLOODFILLBORDER); }
