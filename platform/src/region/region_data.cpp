#include "region/region_data.h"

#include <cmath>
#include <cstring>

namespace standin {
namespace {

constexpr std::size_t kHeaderBytes = sizeof(RGNDATAHEADER);

// Rectangles already in band order (top to bottom, each band's left to
// right, none overlapping), as GetRegionData writes them, build their
// region in one pass; false when they are not in that order.
bool BuildBanded(const std::vector<RegionRect>& rects, BandRegion* out) {
    BandBuilder builder;
    std::vector<BandRun> runs;
    std::size_t i = 0;
    while (i < rects.size()) {
        const RegionRect& first = rects[i];
        runs.clear();
        for (; i < rects.size() && rects[i].top == first.top && rects[i].bottom == first.bottom; ++i) {
            if (!runs.empty() && rects[i].left < runs.back().right) return false;
            runs.push_back(BandRun{rects[i].left, rects[i].right});
        }
        if (!builder.Add(first.top, first.bottom, &runs)) return false;
    }
    *out = builder.Finish();
    return true;
}

// A transformed edge, rounded half away from zero and brought inside the
// limits; false for a value that is not a number.
bool MapEdge(double scale, double offset, std::int32_t v, std::int32_t* out) {
    const double mapped = scale * v + offset;
    if (std::isnan(mapped)) return false;
    const double limit = static_cast<double>(kMaxRegionCoordinate);
    *out = static_cast<std::int32_t>(std::lround(std::fmax(-limit, std::fmin(limit, mapped))));
    return true;
}

}  // namespace

std::size_t RegionDataBytes(const BandRegion& region) {
    return kHeaderBytes + region.rectangleCount() * sizeof(RECT);
}

std::vector<std::uint8_t> WriteRegionData(const BandRegion& region) {
    std::vector<std::uint8_t> record(RegionDataBytes(region));
    RGNDATAHEADER header{};
    header.dwSize = kHeaderBytes;
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(region.rectangleCount());
    header.nRgnSize = static_cast<DWORD>(region.rectangleCount() * sizeof(RECT));
    const RegionRect box = region.box();
    header.rcBound = RECT{box.left, box.top, box.right, box.bottom};
    std::memcpy(record.data(), &header, kHeaderBytes);
    std::size_t at = kHeaderBytes;
    region.ForEachRectangle([&](const RegionRect& r) {
        const RECT rect{r.left, r.top, r.right, r.bottom};
        std::memcpy(record.data() + at, &rect, sizeof rect);
        at += sizeof rect;
    });
    return record;
}

bool ReadRegionData(const void* data, std::size_t bytes, std::vector<RegionRect>* rectangles) {
    if (data == nullptr || bytes < kHeaderBytes) return false;
    RGNDATAHEADER header;
    std::memcpy(&header, data, kHeaderBytes);
    if (header.iType != RDH_RECTANGLES || header.dwSize < kHeaderBytes || header.nCount > kMaxRegionRectangles)
        return false;
    const std::uint64_t end = std::uint64_t{header.dwSize} + std::uint64_t{header.nCount} * sizeof(RECT);
    if (end > bytes) return false;
    rectangles->clear();
    rectangles->reserve(header.nCount);
    const auto* at = static_cast<const std::uint8_t*>(data) + header.dwSize;
    for (DWORD i = 0; i < header.nCount; ++i, at += sizeof(RECT)) {
        RECT rect;
        std::memcpy(&rect, at, sizeof rect);
        RegionRect r{ClampRegionCoordinate(rect.left), ClampRegionCoordinate(rect.top),
                     ClampRegionCoordinate(rect.right), ClampRegionCoordinate(rect.bottom)};
        if (!r.empty()) rectangles->push_back(r);
    }
    return true;
}

bool AxisAligned(const XFORM& t) { return t.eM12 == 0 && t.eM21 == 0; }

bool MapRectangle(const XFORM& t, const RegionRect& in, RegionRect* out) {
    std::int32_t x0, x1, y0, y1;
    if (!MapEdge(t.eM11, t.eDx, in.left, &x0) || !MapEdge(t.eM11, t.eDx, in.right, &x1) ||
        !MapEdge(t.eM22, t.eDy, in.top, &y0) || !MapEdge(t.eM22, t.eDy, in.bottom, &y1))
        return false;
    *out = RegionRect{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    return true;
}

bool UniteRectangles(const std::vector<RegionRect>& rectangles, BandRegion* out) {
    if (BuildBanded(rectangles, out)) return true;
    // Any other order: unions in pairs, then pairs of pairs, so each
    // rectangle takes part in about log2(n) unions.
    std::vector<BandRegion> parts;
    parts.reserve(rectangles.size());
    for (const RegionRect& r : rectangles) parts.push_back(BandRegion::Rectangle(r.left, r.top, r.right, r.bottom));
    while (parts.size() > 1) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < parts.size(); i += 2) {
            if (i + 1 < parts.size() && !BandRegion::Combine(parts[i], parts[i + 1], RegionOp::Or, &parts[i]))
                return false;
            if (kept != i) parts[kept] = std::move(parts[i]);
            ++kept;
        }
        parts.resize(kept);
    }
    *out = parts.empty() ? BandRegion() : std::move(parts[0]);
    return true;
}

}  // namespace standin
