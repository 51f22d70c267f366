// Filled figures: the pixels each covers at small sizes, pen outline ('#')
// and brush inside ('r') on white, as the platform's conventions say.
#include "paint_canvas.h"
#include "resource_guard.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <functional>
#include <string>

using namespace testing_support;

namespace {

// A black pen of `width` ('#') and a red brush ('r') unless told otherwise.
struct Tools {
    int penStyle = PS_SOLID;
    int penWidth = 1;
    bool hollowBrush = false;
    DWORD geometric = 0;  // PS_GEOMETRIC with its cap and join: made by ExtCreatePen
};

std::string Draw(int width, int height, const Tools& tools, const std::function<void(HDC)>& draw) {
    PaintCanvas canvas(width, height);
    canvas.Fill(RGB(255, 255, 255));
    if (tools.penStyle == PS_NULL)
        SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    else if (tools.geometric != 0) {
        const LOGBRUSH black{BS_SOLID, RGB(0, 0, 0), 0};
        canvas.Use(ExtCreatePen(tools.geometric | tools.penStyle, tools.penWidth, &black, 0, nullptr));
    } else
        canvas.Use(CreatePen(tools.penStyle, tools.penWidth, RGB(0, 0, 0)));
    if (tools.hollowBrush)
        SelectObject(canvas.dc(), GetStockObject(HOLLOW_BRUSH));
    else
        canvas.Use(CreateSolidBrush(RGB(255, 0, 0)));
    draw(canvas.dc());
    return canvas.Picture(BasicLegend());
}

struct FigureCase {
    const char* name;
    Tools tools;
    std::function<void(HDC)> draw;
    std::string picture;
};

void Check(int width, int height, const std::vector<FigureCase>& cases) {
    ResourceGuard guard;
    for (const FigureCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Draw(width, height, c.tools, c.draw), c.picture) << Draw(width, height, c.tools, c.draw);
    }
}

TEST(Figures, BoxesCoverTheirPixels) {
    const Tools thin, none{PS_NULL}, hollow{PS_SOLID, 1, true}, wide{PS_SOLID, 3}, frame{PS_INSIDEFRAME, 3};
    Check(8, 7, {
        {"Rectangle", thin, [](HDC dc) { Rectangle(dc, 1, 1, 7, 6); },
         Rows({"........", ".######.", ".#rrrr#.", ".#rrrr#.", ".#rrrr#.", ".######.", "........"})},
        {"Rectangle, edges in any order", thin, [](HDC dc) { Rectangle(dc, 7, 6, 1, 1); },
         Rows({"........", ".######.", ".#rrrr#.", ".#rrrr#.", ".#rrrr#.", ".######.", "........"})},
        {"Rectangle through a viewport origin", thin, [](HDC dc) {
             SetViewportOrgEx(dc, 1, 1, nullptr);
             Rectangle(dc, 0, 0, 6, 5);
             SetViewportOrgEx(dc, 0, 0, nullptr);  // the picture is read in device pixels
         },
         Rows({"........", ".######.", ".#rrrr#.", ".#rrrr#.", ".#rrrr#.", ".######.", "........"})},
        {"Rectangle, NULL_PEN", none, [](HDC dc) { Rectangle(dc, 1, 1, 7, 6); },
         Rows({"........", ".rrrrr..", ".rrrrr..", ".rrrrr..", ".rrrrr..", "........", "........"})},
        {"Rectangle, hollow brush", hollow, [](HDC dc) { Rectangle(dc, 1, 1, 7, 6); },
         Rows({"........", ".######.", ".#....#.", ".#....#.", ".#....#.", ".######.", "........"})},
        {"Rectangle, wide pen", wide, [](HDC dc) { Rectangle(dc, 2, 2, 6, 6); },
         Rows({"........", ".######.", ".######.", ".######.", ".######.", ".######.", ".######."})},
        {"Rectangle, wide pen, bevelled corners", Tools{PS_SOLID, 3, false, PS_GEOMETRIC | PS_JOIN_BEVEL},
         [](HDC dc) { Rectangle(dc, 2, 2, 6, 6); }, Rows({"........", "..####..", ".######.", ".######.", ".######.", ".######.", "..####.."})},
        {"Rectangle, wide CreatePen pen: round corners", Tools{PS_SOLID, 4}, [](HDC dc) { Rectangle(dc, 2, 2, 7, 6); },
         Rows({".######.", "########", "########", "########", "########", "########", ".######."})},
        {"Rectangle, PS_INSIDEFRAME", frame, [](HDC dc) { Rectangle(dc, 0, 0, 7, 7); },
         Rows({"#######.", "#######.", "#######.", "###r###.", "#######.", "#######.", "#######."})},
        {"Ellipse", thin, [](HDC dc) { Ellipse(dc, 0, 0, 8, 7); },
         Rows({"..####..", ".#rrrr#.", "#rrrrrr#", "#rrrrrr#", "#rrrrrr#", ".#rrrr#.", "..####.."})},
        {"Ellipse, NULL_PEN", none, [](HDC dc) { Ellipse(dc, 0, 0, 8, 7); },
         Rows({"..rrr...", "rrrrrrr.", "rrrrrrr.", "rrrrrrr.", "rrrrrrr.", "..rrr...", "........"})},
        {"RoundRect", thin, [](HDC dc) { RoundRect(dc, 0, 0, 8, 7, 4, 4); },
         Rows({".######.", "#rrrrrr#", "#rrrrrr#", "#rrrrrr#", "#rrrrrr#", "#rrrrrr#", ".######."})},
        {"Nothing for an empty box", thin, [](HDC dc) { Rectangle(dc, 3, 3, 3, 6); Ellipse(dc, 2, 2, 6, 2); },
         Rows({"........", "........", "........", "........", "........", "........", "........"})},
    });
}

template <std::size_t N>
std::function<void(HDC)> Points(BOOL(WINAPI* call)(HDC, const POINT*, int), const POINT (&points)[N], int mode = ALTERNATE) {
    return [=](HDC dc) {
        SetPolyFillMode(dc, mode);
        call(dc, points, static_cast<int>(N));
    };
}

TEST(Figures, PolygonsFillByTheirModeAndOutlineEveryPoint) {
    const Tools thin, none{PS_NULL};
    static const POINT triangle[] = {{1, 1}, {7, 1}, {1, 6}};
    // A five-pointed star drawn in one stroke: its middle has winding two.
    static const POINT star[] = {{4, 0}, {7, 8}, {0, 3}, {8, 3}, {1, 8}};
    Check(9, 9, {
        {"triangle", thin, Points(Polygon, triangle),
         Rows({".........", ".#######.", ".#rrrr#..", ".#rr##...", ".#r#.....", ".##......", ".#.......", ".........", "........."})},
        {"triangle, NULL_PEN", none, Points(Polygon, triangle),
         Rows({".........", ".rrrrrr..", ".rrrrr...", ".rrrr....", ".rrr.....", ".rr......", ".........", ".........", "........."})},
        {"star, ALTERNATE", none, Points(Polygon, star),
         Rows({".........", "....r....", "....r....", "rrr...rr.", "..r...r..", ".........", "..rr.rr..", "..r...r..", "........."})},
        {"star, WINDING", none, Points(Polygon, star, WINDING),
         Rows({".........", "....r....", "....r....", "rrrrrrrr.", "..rrrrr..", "...rrr...", "..rr.rr..", "..r...r..", "........."})},
    });
}

TEST(Figures, WidePensJoinTheLinesOfAFigure) {
    static const POINT corner[] = {{1, 7}, {4, 2}, {7, 7}};
    const Tools round{PS_SOLID, 3}, bevel{PS_SOLID, 3, false, PS_GEOMETRIC | PS_JOIN_BEVEL | PS_ENDCAP_FLAT},
        miter{PS_SOLID, 3, false, PS_GEOMETRIC | PS_JOIN_MITER | PS_ENDCAP_FLAT},
        square{PS_SOLID, 3, false, PS_GEOMETRIC | PS_JOIN_MITER | PS_ENDCAP_SQUARE};
    Check(9, 9, {
        {"round", round, Points(Polyline, corner),
         Rows({".........", "...###...", "...###...", "..#####..", "..#####..", ".###.###.", "####.####", "###...###", "###...###"})},
        {"bevel", bevel, Points(Polyline, corner),
         Rows({".........", ".........", "...###...", "..#####..", "..#####..", ".###.###.", "####.####", ".##...##.", "........."})},
        {"miter", miter, Points(Polyline, corner),
         Rows({"....#....", "...###...", "...###...", "..#####..", "..#####..", ".###.###.", "####.####", ".##...##.", "........."})},
        {"square ends", square, Points(Polyline, corner),
         Rows({"....#....", "...###...", "...###...", "..#####..", "..#####..", ".###.###.", "####.####", "###...###", "###...###"})},
    });
}

TEST(Figures, ArcsPiesAndChordsCutTheEllipse) {
    const Tools thin, hollow{PS_SOLID, 1, true};
    auto clockwise = [](std::function<void(HDC)> draw) {
        return [=](HDC dc) {
            SetArcDirection(dc, AD_CLOCKWISE);
            draw(dc);
        };
    };
    Check(9, 9, {
        {"Arc, the upper half", thin, [](HDC dc) { Arc(dc, 0, 0, 9, 9, 8, 4, 0, 4); },
         Rows({"..#####..", ".#.....#.", "#.......#", "#.......#", "........#", ".........", ".........", ".........", "........."})},
        {"Arc, clockwise: the lower half", thin, clockwise([](HDC dc) { Arc(dc, 0, 0, 9, 9, 8, 4, 0, 4); }),
         Rows({".........", ".........", ".........", ".........", "........#", "#.......#", "#.......#", ".#.....#.", "..#####.."})},
        {"Pie, a quarter", thin, [](HDC dc) { Pie(dc, 0, 0, 9, 9, 8, 4, 4, 0); },
         Rows({"....###..", "....#rr#.", "....#rrr#", "....#rrr#", "....#####", ".........", ".........", ".........", "........."})},
        {"Chord, a quarter", thin, [](HDC dc) { Chord(dc, 0, 0, 9, 9, 8, 4, 4, 0); },
         Rows({"....###..", ".....#r#.", "......#r#", ".......##", "........#", ".........", ".........", ".........", "........."})},
        {"AngleArc from the current position", hollow, [](HDC dc) {
             MoveToEx(dc, 0, 8, nullptr);
             AngleArc(dc, 4, 4, 3, 0.0f, 180.0f);
             LineTo(dc, 8, 8);
         },
         Rows({".........", "...####..", "..#...#..", ".#.....#.", ".#.....#.", "..##.##..", "...###...", ".##...##.", "#........"})},
        {"ArcTo", hollow, [](HDC dc) {
             MoveToEx(dc, 0, 8, nullptr);
             ArcTo(dc, 1, 1, 8, 8, 8, 4, 4, 0);
             LineTo(dc, 8, 8);
         },
         Rows({".........", "....###..", ".....##..", ".....#.#.", "......##.", ".....##..", "...##..#.", ".##....#.", "#........"})},
    });
}

TEST(Figures, FramesInversionsAndFloods) {
    const Tools thin;
    Check(7, 6, {
        {"FrameRect", thin, [](HDC dc) {
             RECT r{1, 1, 6, 5};
             FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
         },
         Rows({".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."})},
        {"InvertRect", thin, [](HDC dc) {
             RECT r{1, 1, 6, 5}, inner{2, 2, 5, 4};
             InvertRect(dc, &r);
             InvertRect(dc, &inner);
         },
         Rows({".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."})},
        {"FloodFill inside a border", thin, [](HDC dc) {
             SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
             Rectangle(dc, 1, 0, 6, 5);
             HGDIOBJ red = SelectObject(dc, CreateSolidBrush(RGB(255, 0, 0)));
             FloodFill(dc, 3, 2, RGB(0, 0, 0));
             DeleteObject(SelectObject(dc, red));
         },
         Rows({".#####.", ".#rrr#.", ".#rrr#.", ".#rrr#.", ".#####.", "......."})},
        {"ExtFloodFill of a surface", thin, [](HDC dc) {
             MoveToEx(dc, 0, 2, nullptr);
             LineTo(dc, 7, 2);
             ExtFloodFill(dc, 6, 0, RGB(255, 255, 255), FLOODFILLSURFACE);
         },
         Rows({"rrrrrrr", "rrrrrrr", "#######", ".......", ".......", "......."})},
    });
}

TEST(Figures, WidePensStyledPensAndPenWidthsOnCurves) {
    const Tools wide{PS_SOLID, 3}, frame{PS_INSIDEFRAME, 3}, dotted{PS_DOT, 1, true};
    Check(9, 9, {
        {"Ellipse, wide pen", wide, [](HDC dc) { Ellipse(dc, 1, 1, 8, 8); },
         Rows({"..#####..", ".#######.", "#########", "###rrr###", "###rrr###", "###rrr###", "#########", ".#######.", "..#####.."})},
        {"Ellipse, PS_INSIDEFRAME", frame, [](HDC dc) { Ellipse(dc, 0, 0, 9, 9); },
         Rows({"..#####..", ".#######.", "#########", "###rrr###", "###rrr###", "###rrr###", "#########", ".#######.", "..#####.."})},
        {"RoundRect, dotted", dotted, [](HDC dc) { RoundRect(dc, 0, 0, 9, 9, 4, 4); },
         Rows({"..#...##.", ".#......#", "#........", "#........", "#........", "#.......#", "........#", "........#", "..###...."})},
        {"Polyline, dotted: the dots carry on round the corner", dotted, [](HDC dc) {
             const POINT corner[] = {{0, 1}, {7, 1}, {7, 8}};
             Polyline(dc, corner, 3);
         },
         Rows({".........", "###...##.", ".......#.", ".........", ".........", ".........", ".......#.", ".......#.", "........."})},
        {"Polygon, wide mitered pen", Tools{PS_SOLID, 3, true, PS_GEOMETRIC | PS_JOIN_MITER}, [](HDC dc) {
             const POINT square[] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
             Polygon(dc, square, 4);
         },
         Rows({".........", ".#######.", ".#######.", ".#######.", ".###.###.", ".#######.", ".#######.", ".#######.", "........."})},
        {"PolyPolygon, two overlapping squares", Tools{PS_NULL}, [](HDC dc) {
             const POINT squares[] = {{0, 0}, {6, 0}, {6, 6}, {0, 6}, {3, 3}, {9, 3}, {9, 9}, {3, 9}};
             const INT sizes[] = {4, 4};
             PolyPolygon(dc, squares, sizes, 2);
         },
         Rows({"rrrrrr...", "rrrrrr...", "rrrrrr...", "rrr...rrr", "rrr...rrr", "rrr...rrr", "...rrrrrr", "...rrrrrr", "...rrrrrr"})},
        {"PolyPolyline and PolylineTo", Tools{}, [](HDC dc) {
             const POINT lines[] = {{0, 0}, {4, 0}, {0, 2}, {0, 5}};
             const DWORD sizes[] = {2, 2};
             PolyPolyline(dc, lines, sizes, 2);
             MoveToEx(dc, 8, 8, nullptr);
             const POINT more[] = {{8, 5}, {5, 5}};
             PolylineTo(dc, more, 2);
             LineTo(dc, 5, 8);
         },
         Rows({"####.....", ".........", "#........", "#........", "#........", ".....####", ".....#..#", ".....#..#", "........#"})},
    });
}

// With R2_XORPEN over black, every pixel the figure paints once shows the
// pen's or the brush's colour, one painted twice would turn black again.
// (A one-pixel pen's lines meet as LineTo's do, and may share a pixel at a
// sharp corner, so the polyline is drawn wide only.)
TEST(Figures, EveryPixelIsPaintedOnce) {
    ResourceGuard guard;
    const auto figures = {
        std::function<void(HDC)>([](HDC dc) { Ellipse(dc, 0, 0, 9, 8); }),
        std::function<void(HDC)>([](HDC dc) { RoundRect(dc, 0, 0, 9, 8, 5, 5); }),
        std::function<void(HDC)>([](HDC dc) { Rectangle(dc, 1, 1, 9, 8); }),
        std::function<void(HDC)>([](HDC dc) {
            const POINT zigzag[] = {{1, 1}, {7, 2}, {1, 4}, {7, 6}};
            Polyline(dc, zigzag, 4);
        }),
    };
    for (int width : {1, 3}) {
        for (const auto& draw : figures) {
            if (width == 1 && &draw == &*std::prev(figures.end())) continue;
            PaintCanvas xored(10, 9), copied(10, 9);
            for (PaintCanvas* canvas : {&xored, &copied}) {
                canvas->Fill(RGB(0, 0, 0));
                canvas->Use(CreatePen(PS_SOLID, width, RGB(255, 255, 255)));
                canvas->Use(CreateSolidBrush(RGB(255, 0, 0)));
            }
            SetROP2(xored.dc(), R2_XORPEN);
            draw(xored.dc());
            draw(copied.dc());
            EXPECT_EQ(xored.Picture(BasicLegend()), copied.Picture(BasicLegend())) << width;
        }
    }
}

TEST(Figures, FarCoordinatesCostOnlyTheBitmapsRows) {
    ResourceGuard guard;
    PaintCanvas canvas(4, 3);
    canvas.Fill(RGB(255, 255, 255));
    canvas.Use(CreatePen(PS_SOLID, 5, RGB(0, 0, 0)));
    EXPECT_TRUE(Ellipse(canvas.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(RoundRect(canvas.dc(), INT_MIN, 1, INT_MAX, INT_MAX, INT_MAX, INT_MIN));
    const POINT far[] = {{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}, {INT_MIN + 1, INT_MAX}};
    EXPECT_TRUE(Polygon(canvas.dc(), far, 4));
    EXPECT_TRUE(Polyline(canvas.dc(), far, 4));
    EXPECT_TRUE(Pie(canvas.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, INT_MIN, INT_MAX, 0));
    EXPECT_TRUE(AngleArc(canvas.dc(), 2, 1, 0x7FFFFFFF, 0.0f, 720.0f));
}

TEST(Figures, RefuseWhatTheyCannotDraw) {
    ResourceGuard guard;
    PaintCanvas canvas(4, 4);
    const POINT two[] = {{0, 0}, {3, 3}};
    const INT one[] = {1};
    const DWORD none[] = {0};
    struct Refusal {
        const char* name;
        std::function<BOOL()> call;
        DWORD error;
    };
    const Refusal refusals[] = {
        {"Polygon of one point", [&] { return Polygon(canvas.dc(), two, 1); }, ERROR_INVALID_PARAMETER},
        {"Polygon of no points", [&] { return Polygon(canvas.dc(), nullptr, 3); }, ERROR_INVALID_PARAMETER},
        {"PolyPolygon with a one-point figure", [&] { return PolyPolygon(canvas.dc(), two, one, 1); }, ERROR_INVALID_PARAMETER},
        {"PolyPolyline with an empty figure", [&] { return PolyPolyline(canvas.dc(), two, none, 1); }, ERROR_INVALID_PARAMETER},
        {"Polyline of one point", [&] { return Polyline(canvas.dc(), two, 1); }, ERROR_INVALID_PARAMETER},
        {"PolylineTo of no points", [&] { return PolylineTo(canvas.dc(), two, 0); }, ERROR_INVALID_PARAMETER},
        {"AngleArc, an endless angle", [&] { return AngleArc(canvas.dc(), 1, 1, 1, 0.0f, 1.0f / 0.0f); }, ERROR_INVALID_PARAMETER},
        {"AngleArc, a radius past LONG", [&] { return AngleArc(canvas.dc(), 1, 1, 0x80000000u, 0.0f, 90.0f); }, ERROR_INVALID_PARAMETER},
        {"Rectangle without a context", [] { return Rectangle(nullptr, 0, 0, 2, 2); }, ERROR_INVALID_HANDLE},
        {"Pie without a context", [] { return Pie(nullptr, 0, 0, 2, 2, 0, 0, 1, 1); }, ERROR_INVALID_HANDLE},
        {"SetPolyFillMode of no mode", [&] { return static_cast<BOOL>(SetPolyFillMode(canvas.dc(), 3)); }, ERROR_INVALID_PARAMETER},
        {"SetArcDirection of no direction", [&] { return static_cast<BOOL>(SetArcDirection(canvas.dc(), 0)); }, ERROR_INVALID_PARAMETER},
        {"InvertRect without a rectangle", [&] { return InvertRect(canvas.dc(), nullptr); }, ERROR_INVALID_PARAMETER},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        SetLastError(0);
        EXPECT_FALSE(r.call());
        EXPECT_EQ(GetLastError(), r.error);
    }
    EXPECT_EQ(GetPolyFillMode(canvas.dc()), ALTERNATE);
    EXPECT_EQ(GetArcDirection(canvas.dc()), AD_COUNTERCLOCKWISE);
}

// A figure drawn through a mapping covers the pixels of the figure drawn at
// the mapped coordinates.
TEST(Figures, MappedFiguresCoverTheirDevicePixels) {
    ResourceGuard guard;
    struct Pair {
        const char* name;
        std::function<void(HDC)> mapped, device;
    };
    const Pair pairs[] = {
        {"Ellipse, scaled twice",
         [](HDC dc) {
             SetMapMode(dc, MM_ANISOTROPIC);
             SetWindowExtEx(dc, 1, 1, nullptr);
             SetViewportExtEx(dc, 2, 2, nullptr);
             Ellipse(dc, 0, 0, 5, 4);
         },
         [](HDC dc) { Ellipse(dc, 0, 0, 10, 8); }},
        {"Pie, moved by the window origin",
         [](HDC dc) {
             SetWindowOrgEx(dc, -2, -1, nullptr);
             Pie(dc, 0, 0, 7, 7, 7, 3, 3, 0);
         },
         [](HDC dc) { Pie(dc, 2, 1, 9, 8, 9, 4, 5, 1); }},
        {"Polygon, turned a quarter",
         [](HDC dc) {
             SetGraphicsMode(dc, GM_ADVANCED);
             const XFORM quarter{0, 1, -1, 0, 9, 0};  // (x, y) to (9 - y, x)
             SetWorldTransform(dc, &quarter);
             const POINT p[] = {{1, 1}, {7, 1}, {1, 6}};
             Polygon(dc, p, 3);
         },
         [](HDC dc) {
             const POINT p[] = {{8, 1}, {8, 7}, {3, 1}};
             Polygon(dc, p, 3);
         }},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.name);
        PaintCanvas mapped(11, 10), device(11, 10);
        for (PaintCanvas* canvas : {&mapped, &device}) {
            canvas->Fill(RGB(255, 255, 255));
            canvas->Use(CreateSolidBrush(RGB(255, 0, 0)));
            canvas->Use(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));  // one pixel whatever the mapping
        }
        pair.mapped(mapped.dc());
        pair.device(device.dc());
        // Read both back in device pixels.
        ModifyWorldTransform(mapped.dc(), nullptr, MWT_IDENTITY);
        SetMapMode(mapped.dc(), MM_TEXT);
        SetWindowOrgEx(mapped.dc(), 0, 0, nullptr);
        EXPECT_EQ(mapped.Picture(BasicLegend()), device.Picture(BasicLegend()));
    }
}

// Bitmaps of a bit a pixel take figures through their pixel values.
TEST(Figures, MonochromeBitmapsTakeFiguresAndMixes) {
    ResourceGuard guard;
    PaintCanvas canvas(6, 4, 1, {{0, 0, 0, 0}, {255, 255, 255, 0}});
    canvas.Fill(RGB(255, 255, 255));
    SetROP2(canvas.dc(), R2_NOT);
    Rectangle(canvas.dc(), 1, 0, 5, 4);
    Rectangle(canvas.dc(), 2, 1, 4, 3);
    EXPECT_EQ(canvas.Picture(BasicLegend()), Rows({".####.", ".#..#.", ".#..#.", ".####."}));
}

TEST(Figures, FloodFillRefusesAStartOutsideItsArea) {
    ResourceGuard guard;
    PaintCanvas canvas(4, 4);
    canvas.Fill(RGB(255, 255, 255));
    EXPECT_FALSE(FloodFill(canvas.dc(), 1, 1, RGB(255, 255, 255))) << "on the border colour";
    EXPECT_FALSE(ExtFloodFill(canvas.dc(), 1, 1, RGB(0, 0, 0), FLOODFILLSURFACE)) << "off the surface colour";
    EXPECT_FALSE(FloodFill(canvas.dc(), 4, 0, RGB(0, 0, 0))) << "outside the bitmap";
    HRGN clip = CreateRectRgn(2, 2, 4, 4);
    SelectClipRgn(canvas.dc(), clip);
    DeleteObject(clip);
    EXPECT_FALSE(FloodFill(canvas.dc(), 1, 1, RGB(0, 0, 0))) << "outside the clip region";
    EXPECT_TRUE(FloodFill(canvas.dc(), 3, 3, RGB(0, 0, 0)));
    SetLastError(0);
    EXPECT_FALSE(ExtFloodFill(canvas.dc(), 1, 1, RGB(0, 0, 0), 2));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
