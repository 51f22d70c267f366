// Regions, clipping and bounds with adversarial coordinates and records:
// every call must answer within the time limit, keep a region's complexity
// answers consistent and leave nothing alive beyond the pools.
#include "session.h"

#include <cstring>

namespace apifuzz {
namespace {

constexpr DWORD kMaxRecordRects = 64;

// A RGNDATA record from the input: mostly well formed, its fields sometimes
// made up; `bytes` says how many of them the call is told about.
std::vector<std::uint8_t> MakeRecord(Input& in, DWORD* bytes) {
    const DWORD count = in.Below(kMaxRecordRects + 1);
    std::vector<std::uint8_t> record(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = in.Below(8) == 0 ? in.U32() : sizeof(RGNDATAHEADER);
    header.iType = in.Below(8) == 0 ? in.U32() : RDH_RECTANGLES;
    header.nCount = in.Below(8) == 0 ? in.U32() : count;
    std::memcpy(record.data(), &header, sizeof header);
    for (DWORD i = 0; i < count; ++i) {
        const RECT r{in.Int(), in.Int(), in.Int(), in.Int()};
        std::memcpy(record.data() + sizeof header + i * sizeof(RECT), &r, sizeof r);
    }
    *bytes = in.Below(8) == 0 ? static_cast<DWORD>(in.Below(static_cast<unsigned>(record.size()) + 1))
                              : static_cast<DWORD>(record.size());
    return record;
}

bool IsComplexity(int value) { return value == NULLREGION || value == SIMPLEREGION || value == COMPLEXREGION; }

}  // namespace

void Session::RegionCall() {
    int v[4];
    for (int& c : v) c = in_.Int();
    switch (in_.Below(10)) {
        case 0:
            Keep(&regions_, Timed("CreateRectRgn", [&] { return CreateRectRgn(v[0], v[1], v[2], v[3]); }));
            break;
        case 9: {
            const int w = in_.Int(), h = in_.Int();
            POINT points[12];
            for (POINT& p : points) p = POINT{in_.Int(), in_.Int()};
            INT counts[3] = {static_cast<INT>(in_.Below(6)), static_cast<INT>(in_.Below(4)), in_.Int()};
            const int polygons = in_.Below(8) == 0 ? in_.Int() : static_cast<int>(in_.Below(3)) + 1;
            bool fits = polygons > 0 && polygons <= 3;
            std::int64_t total = 0;
            for (int i = 0; fits && i < polygons; ++i) fits = counts[i] >= 0 && (total += counts[i]) <= 12;
            const int mode = in_.Below(8) == 0 ? in_.Int() : static_cast<int>(in_.Below(2)) + ALTERNATE;
            switch (in_.Below(3)) {
                case 0: Keep(&regions_, Timed("CreateEllipticRgn", [&] { return CreateEllipticRgn(v[0], v[1], v[2], v[3]); })); break;
                case 1: Keep(&regions_, Timed("CreateRoundRectRgn", [&] { return CreateRoundRectRgn(v[0], v[1], v[2], v[3], w, h); })); break;
                default:
                    // Only counts the points array holds: past it is the caller's fault.
                    if (fits) Keep(&regions_, Timed("CreatePolyPolygonRgn", [&] { return CreatePolyPolygonRgn(points, counts, polygons, mode); }));
            }
            break;
        }
        case 1: {
            DWORD bytes = 0;
            const std::vector<std::uint8_t> record = MakeRecord(in_, &bytes);
            XFORM transform{};
            for (FLOAT* f : {&transform.eM11, &transform.eM12, &transform.eM21, &transform.eM22, &transform.eDx,
                             &transform.eDy}) {
                const std::uint32_t raw = in_.U32();
                std::memcpy(f, &raw, sizeof raw);  // any float, infinities and NaNs among them
            }
            const XFORM* lpx = in_.Bool() ? nullptr : &transform;
            Keep(&regions_, Timed("ExtCreateRegion", [&] {
                     return ExtCreateRegion(lpx, bytes, reinterpret_cast<const RGNDATA*>(record.data()));
                 }));
            break;
        }
        case 2: {
            const int mode = in_.Below(8) == 0 ? in_.Int() : static_cast<int>(in_.Below(5)) + RGN_AND;
            HRGN to = Region(), a = Region(), b = Region();
            const int result = Timed("CombineRgn", [&] { return CombineRgn(to, a, b, mode); });
            Check(result == ERROR || IsComplexity(result), "CombineRgn answers a complexity or ERROR");
            break;
        }
        case 3: {
            HRGN region = Region();
            const int result = Timed("OffsetRgn", [&] { return OffsetRgn(region, v[0], v[1]); });
            Check(result == ERROR || IsComplexity(result), "OffsetRgn answers a complexity or ERROR");
            break;
        }
        case 4: {
            HRGN region = Region();
            const RECT r{v[0], v[1], v[2], v[3]};
            Timed("PtInRegion", [&] { return PtInRegion(region, v[0], v[1]); });
            Timed("RectInRegion", [&] { return RectInRegion(region, &r); });
            Timed("EqualRgn", [&] { return EqualRgn(region, Region()); });
            Timed("SetRectRgn", [&] { return SetRectRgn(region, v[0], v[1], v[2], v[3]); });
            break;
        }
        case 5: {
            HRGN region = Region();
            RECT box;
            const int result = Timed("GetRgnBox", [&] { return GetRgnBox(region, &box); });
            Check(result == ERROR || IsComplexity(result), "GetRgnBox answers a complexity or ERROR");
            const DWORD needed = Timed("GetRegionData", [&] { return GetRegionData(region, 0, nullptr); });
            std::vector<std::uint8_t> buffer(in_.Below(4) == 0 ? in_.Below(64) : needed);
            const DWORD written = Timed("GetRegionData", [&] {
                return GetRegionData(region, static_cast<DWORD>(buffer.size()),
                                     buffer.empty() ? nullptr : reinterpret_cast<RGNDATA*>(buffer.data()));
            });
            Check(buffer.empty() || written == 0 || buffer.size() >= needed, "GetRegionData fills only a buffer that fits");
            break;
        }
        case 6: {
            HRGN region = Region();
            const bool live = IsLive(region);
            if (Timed("DeleteObject", [&] { return DeleteObject(region); }) && live) Bury(region);
            break;
        }
        default: {
            HDC dc = Canvas();
            HRGN region = Region();
            HBRUSH brush = static_cast<HBRUSH>(Choose(brushes_));
            switch (in_.Below(4)) {
                case 0: Timed("FillRgn", [&] { return FillRgn(dc, region, brush); }); break;
                case 1: Timed("PaintRgn", [&] { return PaintRgn(dc, region); }); break;
                case 2: Timed("InvertRgn", [&] { return InvertRgn(dc, region); }); break;
                default: Timed("FrameRgn", [&] { return FrameRgn(dc, region, brush, v[0], v[1]); });
            }
        }
    }
}

void Session::ClipCall() {
    HDC dc = Canvas();
    int v[4];
    for (int& c : v) c = in_.Int();
    const RECT r{v[0], v[1], v[2], v[3]};
    int result = ERROR;
    switch (in_.Below(8)) {
        case 0: {
            const int mode = in_.Below(8) == 0 ? in_.Int() : static_cast<int>(in_.Below(5)) + RGN_AND;
            HRGN region = in_.Below(4) == 0 ? nullptr : Region();
            result = Timed("ExtSelectClipRgn", [&] { return ExtSelectClipRgn(dc, region, mode); });
            break;
        }
        case 1: result = Timed("IntersectClipRect", [&] { return IntersectClipRect(dc, v[0], v[1], v[2], v[3]); }); break;
        case 2: result = Timed("ExcludeClipRect", [&] { return ExcludeClipRect(dc, v[0], v[1], v[2], v[3]); }); break;
        case 3: result = Timed("OffsetClipRgn", [&] { return OffsetClipRgn(dc, v[0], v[1]); }); break;
        case 4: {
            RECT box;
            result = Timed("GetClipBox", [&] { return GetClipBox(dc, &box); });
            HRGN region = Region();
            const int got = Timed("GetClipRgn", [&] { return GetClipRgn(dc, region); });
            Check(got == -1 || got == 0 || got == 1, "GetClipRgn answers -1, 0 or 1");
            break;
        }
        case 5:
            Timed("PtVisible", [&] { return PtVisible(dc, v[0], v[1]); });
            Timed("RectVisible", [&] { return RectVisible(dc, &r); });
            return;
        case 6: Timed("SetBoundsRect", [&] { return SetBoundsRect(dc, in_.Bool() ? &r : nullptr, in_.Below(16)); }); return;
        default: {
            RECT bounds;
            const UINT state = Timed("GetBoundsRect", [&] { return GetBoundsRect(dc, &bounds, in_.Below(2)); });
            Check(state == 0 || state == DCB_SET || state == DCB_RESET, "GetBoundsRect answers DCB_SET or DCB_RESET");
            return;
        }
    }
    Check(result == ERROR || IsComplexity(result), "a clipping call answers a complexity or ERROR");
}

}  // namespace apifuzz
