// Regions checked by their rectangles: the set operations, moving, testing
// and the RGNDATA form, with their limits and bad handles.
#include "paint_canvas.h"
#include "region_rects.h"
#include "resource_guard.h"

#include <standin/testing.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using namespace testing_support;

// Two overlapping squares, the second down and to the right.
struct Squares {
    HRGN a = CreateRectRgn(0, 0, 4, 4), b = CreateRectRgn(2, 2, 6, 6), out = CreateRectRgn(0, 0, 0, 0);
    ~Squares() { DeleteObject(a), DeleteObject(b), DeleteObject(out); }
};

TEST(CombineRgn, EachModeGivesItsRectanglesAndComplexity) {
    ResourceGuard guard;
    const struct {
        int mode, result;
        const char* rects;
    } cases[] = {
        {RGN_AND, SIMPLEREGION, "2,2,4,4"},
        {RGN_OR, COMPLEXREGION, "0,0,4,2 0,2,6,4 2,4,6,6"},
        {RGN_XOR, COMPLEXREGION, "0,0,4,2 0,2,2,4 4,2,6,4 2,4,6,6"},
        {RGN_DIFF, COMPLEXREGION, "0,0,4,2 0,2,2,4"},
        {RGN_COPY, SIMPLEREGION, "0,0,4,4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Squares s;
        EXPECT_EQ(CombineRgn(s.out, s.a, s.b, c.mode), c.result);
        EXPECT_EQ(RectsOf(s.out), c.rects);
        // The destination may be a source.
        EXPECT_EQ(CombineRgn(s.a, s.a, s.b, c.mode), c.result);
        EXPECT_EQ(RectsOf(s.a), c.rects);
    }
    Squares s;
    EXPECT_EQ(CombineRgn(s.out, s.a, s.a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(RectsOf(s.out), "");
    SetLastError(0);
    EXPECT_EQ(CombineRgn(s.out, s.a, s.b, 0), ERROR);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(CombineRgn(s.out, s.a, nullptr, RGN_COPY), SIMPLEREGION) << "RGN_COPY reads one source";
}

TEST(Regions, RectanglesAreOrderedClampedAndJoined) {
    ResourceGuard guard;
    const struct {
        std::vector<RECT> rects;
        const char* expected;
    } cases[] = {
        {{{5, 6, 1, 2}}, ""},                            // right of left and below top, or nothing
        {{{3, 3, 3, 9}}, ""},                            // no width
        {{{-(1 << 30), 0, 1 << 30, 1}}, "-134217727,0,134217727,1"},  // 27 bits
        {{{0, 0, 2, 2}, {2, 0, 4, 2}}, "0,0,4,2"},       // runs that touch join
        {{{0, 0, 2, 2}, {0, 2, 2, 4}}, "0,0,2,4"},       // bands alike join
        {{{4, 4, 6, 6}, {0, 0, 2, 2}, {1, 1, 5, 5}}, "0,0,2,1 0,1,5,2 1,2,5,4 1,4,6,5 4,5,6,6"},  // any order
    };
    for (const auto& c : cases) {
        HRGN region = RegionOf(c.rects);
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(RectsOf(region), c.expected);
        EXPECT_EQ(GetObjectType(region), static_cast<DWORD>(OBJ_REGION));
        DeleteObject(region);
    }
    HRGN region = CreateRectRgn(7, 7, 1, 1);  // corners in any order
    EXPECT_EQ(RectsOf(region), "1,1,7,7");
    EXPECT_TRUE(SetRectRgn(region, 9, 0, 3, 2));
    EXPECT_EQ(RectsOf(region), "3,0,9,2");
    DeleteObject(region);
}

TEST(Regions, OffsetTestAndCompare) {
    ResourceGuard guard;
    Squares s;
    CombineRgn(s.out, s.a, s.b, RGN_XOR);
    const struct {
        int x, y;
        BOOL inside;
    } points[] = {{0, 0, TRUE}, {3, 1, TRUE}, {4, 0, FALSE}, {2, 2, FALSE}, {5, 5, TRUE}, {6, 5, FALSE}, {1, 3, TRUE}};
    for (const auto& p : points) EXPECT_EQ(PtInRegion(s.out, p.x, p.y), p.inside) << p.x << "," << p.y;
    const struct {
        RECT r;
        BOOL overlaps;
    } rects[] = {{{2, 2, 4, 4}, FALSE}, {{3, 3, 5, 5}, TRUE}, {{6, 0, 9, 2}, FALSE}, {{4, 4, 2, 2}, FALSE}, {{5, 1, 3, 3}, TRUE}};
    for (const auto& r : rects) EXPECT_EQ(RectInRegion(s.out, &r.r), r.overlaps) << r.r.left << "," << r.r.top;
    RECT box;
    EXPECT_EQ(GetRgnBox(s.out, &box), COMPLEXREGION);
    EXPECT_TRUE(box.left == 0 && box.top == 0 && box.right == 6 && box.bottom == 6);

    EXPECT_EQ(OffsetRgn(s.a, 2, 2), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(s.a, s.b));
    EXPECT_FALSE(EqualRgn(s.a, s.out));
    // A move past the 27-bit limit is refused and changes nothing.
    SetLastError(0);
    EXPECT_EQ(OffsetRgn(s.a, 1 << 27, 0), ERROR);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RectsOf(s.a), "2,2,6,6");
}

TEST(RegionData, SizesHeaderAndTransformedRecords) {
    ResourceGuard guard;
    Squares s;
    CombineRgn(s.out, s.a, s.b, RGN_OR);
    const DWORD size = GetRegionData(s.out, 0, nullptr);
    EXPECT_EQ(size, sizeof(RGNDATAHEADER) + 3 * sizeof(RECT));
    std::vector<unsigned char> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    EXPECT_EQ(GetRegionData(s.out, size - 1, data), 0u) << "a short buffer gets nothing";
    EXPECT_EQ(GetRegionData(s.out, size, data), size);
    EXPECT_EQ(data->rdh.dwSize, sizeof(RGNDATAHEADER));
    EXPECT_EQ(data->rdh.iType, static_cast<DWORD>(RDH_RECTANGLES));
    EXPECT_EQ(data->rdh.nCount, 3u);
    EXPECT_EQ(data->rdh.nRgnSize, 3 * sizeof(RECT));
    EXPECT_EQ(data->rdh.rcBound.right, 6);

    const XFORM doubled{2, 0, 0, 2, 1, -1}, mirrored{-1, 0, 0, 1, 0, 0}, turned{0, 1, -1, 0, 0, 0},
        broken{0, 1, -1, 0, std::nanf(""), 0};
    const struct {
        const XFORM* transform;
        const char* expected;  // nullptr: refused
    } cases[] = {
        {nullptr, "0,0,4,2 0,2,6,4 2,4,6,6"},
        {&doubled, "1,-1,9,3 1,3,13,7 5,7,13,11"},
        {&mirrored, "-4,0,0,2 -6,2,0,4 -6,4,-2,6"},
        {&turned, "-4,0,0,2 -6,2,0,4 -6,4,-2,6"},  // a quarter turn: (x, y) to (-y, x)
        {&broken, nullptr},
    };
    for (const auto& c : cases) {
        HRGN copy = ExtCreateRegion(c.transform, size, data);
        EXPECT_EQ(copy != nullptr ? RectsOf(copy) : "refused", c.expected ? c.expected : "refused");
        DeleteObject(copy);
    }
}

TEST(RegionData, MalformedRecordsAreRefused) {
    ResourceGuard guard;
    std::vector<unsigned char> good = RecordOf({{0, 0, 1, 1}, {2, 0, 3, 1}});
    const struct {
        const char* name;
        std::function<void(RGNDATAHEADER*)> spoil;
        DWORD trim;
    } cases[] = {
        {"another type", [](RGNDATAHEADER* h) { h->iType = 2; }, 0},
        {"header size too small", [](RGNDATAHEADER* h) { h->dwSize = 16; }, 0},
        {"more rectangles than bytes", [](RGNDATAHEADER* h) { h->nCount = 3; }, 0},
        {"rectangles past the end", [](RGNDATAHEADER* h) { h->dwSize = 40; }, 0},
        {"count beyond the region limit", [](RGNDATAHEADER* h) { h->nCount = 0xFFFFFFFF; }, 0},
        {"cut inside the rectangles", [](RGNDATAHEADER*) {}, static_cast<DWORD>(good.size() - 20)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> bytes = good;
        c.spoil(reinterpret_cast<RGNDATAHEADER*>(bytes.data()));
        SetLastError(0);
        EXPECT_EQ(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes.size()) - c.trim,
                                  reinterpret_cast<const RGNDATA*>(bytes.data())),
                  nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

TEST(Regions, GrowthPastTheLimitFailsCleanly) {
    ResourceGuard guard;
    // 1025 columns crossed with 1024 rows would be 1,049,600 rectangles.
    std::vector<RECT> columns, rows;
    for (int i = 0; i < 1025; ++i) columns.push_back(RECT{2 * i, 0, 2 * i + 1, 2048});
    for (int i = 0; i < 1024; ++i) rows.push_back(RECT{0, 2 * i, 2050, 2 * i + 1});
    HRGN across = RegionOf(columns), down = RegionOf(rows);
    ASSERT_TRUE(across != nullptr && down != nullptr);
    SetLastError(0);
    EXPECT_EQ(CombineRgn(across, across, down, RGN_AND), ERROR);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GetRegionData(across, 0, nullptr), sizeof(RGNDATAHEADER) + 1025 * sizeof(RECT)) << "left as it was";
    DeleteObject(across);
    DeleteObject(down);
}

TEST(Regions, BadHandlesAndInjectedFailures) {
    ResourceGuard guard;
    HRGN region = CreateRectRgn(0, 0, 1, 1), gone = CreateRectRgn(0, 0, 1, 1);
    HBRUSH brush = CreateSolidBrush(0);
    DeleteObject(gone);
    RECT r{0, 0, 1, 1};
    for (HRGN bad : {HRGN(nullptr), gone, reinterpret_cast<HRGN>(brush)}) {
        const std::function<bool()> fails[] = {
            [&] { return CombineRgn(region, bad, region, RGN_OR) == ERROR; },
            [&] { return CombineRgn(bad, region, region, RGN_OR) == ERROR; },
            [&] { return OffsetRgn(bad, 1, 1) == ERROR; },
            [&] { return !SetRectRgn(bad, 0, 0, 1, 1); },
            [&] { return !PtInRegion(bad, 0, 0); },
            [&] { return !RectInRegion(bad, &r); },
            [&] { return GetRgnBox(bad, &r) == ERROR; },
            [&] { return GetRegionData(bad, 0, nullptr) == 0; },
            [&] { return !EqualRgn(bad, region); },
        };
        for (const auto& call : fails) {
            SetLastError(0);
            EXPECT_TRUE(call());
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        }
    }
    standin::FailNthCall(standin::Call::CreateRectRgn, 1);
    EXPECT_EQ(CreateRectRgn(0, 0, 1, 1), nullptr);
    standin::FailNthCall(standin::Call::CombineRgn, 1);
    EXPECT_EQ(CombineRgn(region, region, region, RGN_OR), ERROR);
    EXPECT_EQ(RectsOf(region), "0,0,1,1");
    EXPECT_TRUE(DeleteObject(region));
    EXPECT_FALSE(DeleteObject(region));
    DeleteObject(brush);
}

}  // namespace

namespace {

// A shape's region holds the pixels its figure covers.
TEST(ShapeRegions, CoverTheirFiguresPixels) {
    ResourceGuard guard;
    const POINT triangle[3] = {{0, 0}, {4, 0}, {0, 4}};
    HRGN region = CreatePolygonRgn(triangle, 3, ALTERNATE);
    EXPECT_EQ(RectsOf(region), "0,0,4,1 0,1,3,2 0,2,2,3 0,3,1,4") << "the slanted edge is a right one";
    DeleteObject(region);

    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    const struct {
        const char* name;
        HRGN region;
        std::function<void(HDC)> figure;
    } cases[] = {
        {"ellipse", CreateEllipticRgn(1, 1, 12, 8), [](HDC dc) { Ellipse(dc, 1, 1, 12, 8); }},
        {"rounded", CreateRoundRectRgn(0, 2, 13, 9, 6, 4), [](HDC dc) { RoundRect(dc, 0, 2, 13, 9, 6, 4); }},
        {"polygon", CreatePolygonRgn(triangle, 3, WINDING), [&](HDC dc) {
             SelectObject(dc, GetStockObject(NULL_PEN));
             Polygon(dc, triangle, 3);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PaintCanvas byRegion(14, 10), byFigure(14, 10);
        byRegion.Fill(RGB(255, 255, 255));
        byFigure.Fill(RGB(255, 255, 255));
        FillRgn(byRegion.dc(), c.region, black);
        SelectObject(byFigure.dc(), GetStockObject(BLACK_BRUSH));
        c.figure(byFigure.dc());
        EXPECT_EQ(byRegion.Picture(BasicLegend()), byFigure.Picture(BasicLegend()));
        DeleteObject(c.region);
    }
    // PaintRgn paints through the binary raster operation; FillRgn copies.
    PaintCanvas canvas(3, 1);
    canvas.Fill(RGB(255, 255, 255));
    HRGN left = CreateRectRgn(0, 0, 2, 1), right = CreateRectRgn(1, 0, 3, 1);
    SetROP2(canvas.dc(), R2_NOT);
    PaintRgn(canvas.dc(), left);
    FillRgn(canvas.dc(), right, black);
    EXPECT_EQ(canvas.Picture(BasicLegend()), "###\n");
    PaintRgn(canvas.dc(), left);
    EXPECT_EQ(canvas.Picture(BasicLegend()), "..#\n");
    DeleteObject(left);
    DeleteObject(right);
    DeleteObject(black);
}

TEST(ShapeRegions, FillModesMatchTheSetOperations) {
    ResourceGuard guard;
    const POINT squares[8] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {2, 2}, {6, 2}, {6, 6}, {2, 6}};
    const INT counts[2] = {4, 4};
    Squares s;
    const struct {
        int fillMode, combineMode;
    } cases[] = {{ALTERNATE, RGN_XOR}, {WINDING, RGN_OR}};
    for (const auto& c : cases) {
        HRGN polygons = CreatePolyPolygonRgn(squares, counts, 2, c.fillMode);
        CombineRgn(s.out, s.a, s.b, c.combineMode);
        EXPECT_TRUE(EqualRgn(polygons, s.out)) << RectsOf(polygons);
        DeleteObject(polygons);
    }
    const struct {
        const char* name;
        std::function<HRGN()> make;
        DWORD error;
    } refused[] = {
        {"rows past the limit", [] { return CreateEllipticRgn(0, -(1 << 26), 9, 1 << 26); }, ERROR_NOT_ENOUGH_MEMORY},
        {"rows times vertices past the limit", [] {
             std::vector<POINT> tall(17);
             for (int i = 0; i < 17; ++i) tall[i] = POINT{i % 2, i * (1 << 16)};
             return CreatePolygonRgn(tall.data(), 17, ALTERNATE);
         }, ERROR_NOT_ENOUGH_MEMORY},
        {"an unknown fill mode", [&] { return CreatePolygonRgn(squares, 4, 3); }, ERROR_INVALID_PARAMETER},
        {"one vertex", [&] { return CreatePolygonRgn(squares, 1, ALTERNATE); }, ERROR_INVALID_PARAMETER},
        {"no points", [] { return CreatePolygonRgn(nullptr, 4, ALTERNATE); }, ERROR_INVALID_PARAMETER},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.name);
        SetLastError(0);
        EXPECT_EQ(r.make(), nullptr);
        EXPECT_EQ(GetLastError(), r.error);
    }
}

}  // namespace
