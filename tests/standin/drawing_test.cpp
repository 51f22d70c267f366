// Fills and lines: which pixels they cover, clipping, and colours at every
// depth.
#include "resource_guard.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

using namespace testing_support;

namespace {

// A memory context with a fresh bitmap selected, released at scope end.
class Canvas {
public:
    Canvas(int width, int height, int bitCount = 24, const std::vector<RGBQUAD>& colors = {})
        : width_(width), height_(height < 0 ? -height : height) {
        dc_ = CreateCompatibleDC(nullptr);
        dib_ = MakeDib(width, height, bitCount, colors);
        previous_ = SelectObject(dc_, dib_.bitmap);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(dib_.bitmap);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }

    void Fill(COLORREF color) {
        RECT all{0, 0, width_, height_};
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    // The picture as text, one line per row: '#' where the pixel is black,
    // '.' where it is white, '+' for any other colour.
    std::string Picture() const {
        std::string text;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                COLORREF c = GetPixel(dc_, x, y);
                text += c == RGB(0, 0, 0) ? '#' : c == RGB(255, 255, 255) ? '.' : '+';
            }
            text += '\n';
        }
        return text;
    }

private:
    int width_, height_;
    HDC dc_;
    Dib dib_;
    HGDIOBJ previous_;
};

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

TEST(Drawing, FillExcludesRightAndBottomEdges) {
    ResourceGuard guard;
    Canvas canvas(5, 4);
    canvas.Fill(RGB(255, 255, 255));
    RECT rect{1, 1, 3, 3};
    EXPECT_NE(FillRect(canvas.dc(), &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_EQ(canvas.Picture(), ".....\n.##..\n.##..\n.....\n");
    RECT inverted{3, 3, 1, 1};
    FillRect(canvas.dc(), &inverted, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT outside{-100, -100, -1, 2};
    FillRect(canvas.dc(), &outside, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Picture(), ".....\n.##..\n.##..\n.....\n");
    RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    FillRect(canvas.dc(), &huge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Picture(), "#####\n#####\n#####\n#####\n");
    EXPECT_EQ(FillRect(canvas.dc(), nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_EQ(FillRect(canvas.dc(), &rect, nullptr), 0);
}

TEST(Drawing, LinesDrawTheirStartAndStopShortOfTheirEnd) {
    struct Case {
        int x0, y0, x1, y1;
        const char* picture;
    };
    const Case cases[] = {
        {0, 1, 4, 1, ".....\n####.\n.....\n.....\n"},
        {4, 1, 0, 1, ".....\n.####\n.....\n.....\n"},
        {1, 0, 1, 3, ".#...\n.#...\n.#...\n.....\n"},
        {1, 3, 1, 0, ".....\n.#...\n.#...\n.#...\n"},
        {0, 0, 3, 3, "#....\n.#...\n..#..\n.....\n"},
        {3, 3, 0, 0, ".....\n.#...\n..#..\n...#.\n"},
        {0, 3, 4, 1, ".....\n...#.\n.##..\n#....\n"},
        {4, 1, 0, 3, ".....\n...##\n.##..\n.....\n"},
        // Exactly between two pixels: a mostly horizontal line takes the
        // upper one, a mostly vertical line the left one, from either end.
        {0, 0, 4, 2, "##...\n..##.\n.....\n.....\n"},
        {4, 2, 0, 0, ".#...\n..##.\n....#\n.....\n"},
        {0, 0, 2, 4, "#....\n#....\n.#...\n.#...\n"},
        {2, 4, 0, 0, ".....\n#....\n.#...\n.#...\n"},
        {2, 2, 2, 2, ".....\n.....\n.....\n.....\n"},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
        Canvas canvas(5, 4);
        canvas.Fill(RGB(255, 255, 255));
        Line(canvas.dc(), c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(canvas.Picture(), c.picture);
        POINT where;
        MoveToEx(canvas.dc(), 0, 0, &where);
        EXPECT_EQ(where.x, c.x1) << "the current position moves to the end point";
        EXPECT_EQ(where.y, c.y1);
    }
}

// A line lights the same pixels drawn from either end, once each end point
// is added: ties never depend on the direction, near or far from the bitmap.
TEST(Drawing, LinesLightTheSamePixelsFromEitherEnd) {
    struct Case {
        int x0, y0, x1, y1;
    };
    const Case cases[] = {
        {0, 1, 12, 7}, {0, 0, 12, 6}, {3, 0, 0, 6}, {1, 11, 11, 1}, {2, 0, 7, 11},
        {-7, -3, 13, 7}, {-2000000000, -1000000000, 2000000000, 1000000000},
        {INT_MAX, 5, INT_MIN, 6}, {5, INT_MIN, 6, INT_MAX},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
        Canvas forward(12, 12), backward(12, 12);
        forward.Fill(RGB(255, 255, 255));
        backward.Fill(RGB(255, 255, 255));
        Line(forward.dc(), c.x0, c.y0, c.x1, c.y1);
        SetPixel(forward.dc(), c.x1, c.y1, RGB(0, 0, 0));
        Line(backward.dc(), c.x1, c.y1, c.x0, c.y0);
        SetPixel(backward.dc(), c.x0, c.y0, RGB(0, 0, 0));
        EXPECT_EQ(forward.Picture(), backward.Picture());
    }
}

TEST(Drawing, TheGridOfTheHalftoneRun) {
    Canvas canvas(16, 16);
    canvas.Fill(RGB(255, 255, 255));
    for (int x = 0; x < 16; x += 2) Line(canvas.dc(), x, 0, x, 16);
    for (int y = 0; y < 16; y += 2) Line(canvas.dc(), 0, y, 16, y);
    std::string expected;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) expected += (x % 2 == 0 || y % 2 == 0) ? '#' : '.';
        expected += '\n';
    }
    EXPECT_EQ(canvas.Picture(), expected);
}

TEST(Drawing, LinesAreClippedAndFarEndPointsCostNothing) {
    Canvas canvas(5, 4);
    canvas.Fill(RGB(255, 255, 255));
    Line(canvas.dc(), -1000000000, 2, 2000000000, 2);
    Line(canvas.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    Line(canvas.dc(), 10, 10, 20, 20);
    EXPECT_EQ(canvas.Picture().substr(12, 6), "#####\n");
    // Slope one half from far away: odd columns fall between two rows and
    // take the upper one.
    Canvas slope(6, 3);
    slope.Fill(RGB(255, 255, 255));
    Line(slope.dc(), -2000000000, -1000000000, 2000000000, 1000000000);
    EXPECT_EQ(slope.Picture(), "##....\n..##..\n....##\n");
    EXPECT_EQ(GetPixel(canvas.dc(), 5, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), -1, 0), CLR_INVALID);
}

// Draws the path with a pen of the given width and style, black.
void PenPath(HDC dc, int style, int width, const std::vector<POINT>& path) {
    HPEN pen = CreatePen(style, width, RGB(0, 0, 0));
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, path[0].x, path[0].y, nullptr);
    for (std::size_t i = 1; i < path.size(); ++i) LineTo(dc, path[i].x, path[i].y);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// Wide pens: pixels whose centres lie within half the width of the segment;
// odd widths centred on the end pixels, even widths on their top-left
// corners. Ends and joins are round.
TEST(Drawing, WidePensDrawRoundEndsAndJoins) {
    struct Case {
        int width;
        std::vector<POINT> path;
        const char* picture;
    };
    const Case cases[] = {
        {2, {{4, 4}, {4, 4}},
         ".........\n.........\n.........\n...##....\n...##....\n.........\n.........\n.........\n.........\n"},
        {3, {{4, 4}, {4, 4}},
         ".........\n.........\n.........\n...###...\n...###...\n...###...\n.........\n.........\n.........\n"},
        {4, {{4, 4}, {4, 4}},
         ".........\n.........\n...##....\n..####...\n..####...\n...##....\n.........\n.........\n.........\n"},
        {5, {{4, 4}, {4, 4}},
         ".........\n.........\n...###...\n..#####..\n..#####..\n..#####..\n...###...\n.........\n.........\n"},
        {3, {{2, 4}, {6, 4}},
         ".........\n.........\n.........\n.#######.\n.#######.\n.#######.\n.........\n.........\n.........\n"},
        {4, {{2, 4}, {6, 4}},
         ".........\n.........\n.######..\n########.\n########.\n.######..\n.........\n.........\n.........\n"},
        {2, {{4, 1}, {4, 7}},
         "...##....\n...##....\n...##....\n...##....\n...##....\n...##....\n...##....\n...##....\n.........\n"},
        {5, {{1, 3}, {5, 3}, {5, 8}},
         ".........\n#######..\n########.\n########.\n########.\n########.\n...#####.\n...#####.\n...#####.\n"},
        {4, {{1, 7}, {7, 1}},
         ".....####\n....#####\n...#####.\n..#####..\n.#####...\n#####....\n####.....\n###......\n##.......\n"},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "width " << c.width << " from " << c.path[0].x << ","
                                          << c.path[0].y);
        Canvas canvas(9, 9);
        canvas.Fill(RGB(255, 255, 255));
        PenPath(canvas.dc(), PS_SOLID, c.width, c.path);
        EXPECT_EQ(canvas.Picture(), c.picture) << canvas.Picture();
        // The same band drawn from the other end.
        Canvas reversed(9, 9);
        reversed.Fill(RGB(255, 255, 255));
        PenPath(reversed.dc(), PS_SOLID, c.width, {c.path.rbegin(), c.path.rend()});
        EXPECT_EQ(reversed.Picture(), c.picture);
    }
}

TEST(Drawing, WidePensAreClippedAndBoundedAtExtremes) {
    struct Case {
        int width, x0, y0, x1, y1;
        int litPixels;
    };
    const Case cases[] = {
        {INT_MAX, 4, 4, 4, 4, 16},                     // capped, still covers everything
        {INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 16},
        {1000, INT_MIN, -2000, INT_MAX, -2000, 0},     // passes far above the bitmap
        {3, INT_MIN, 1, INT_MAX, 1, 12},               // rows 0 to 2, whole width
        {2, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 10},   // the diagonal, two pixels thick
        {1000, -100000000, 2, -99999000, 2, 0},        // ends long before the bitmap
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << ": " << c.x0 << "," << c.y0 << " -> " << c.x1
                                          << "," << c.y1);
        Canvas canvas(4, 4);
        canvas.Fill(RGB(255, 255, 255));
        PenPath(canvas.dc(), PS_SOLID, c.width, {{c.x0, c.y0}, {c.x1, c.y1}});
        std::string picture = canvas.Picture();
        EXPECT_EQ(std::count(picture.begin(), picture.end(), '#'), c.litPixels) << picture;
    }
}

// Dashed one-pixel pens along a 50-pixel line on grey: 18 on 6 off, 3 on 3
// off, 9-6-3-6 and 9-3-3-3-3-3; gaps white in OPAQUE mode (the default, on
// white), untouched in TRANSPARENT mode; the pattern carries on across
// LineTo calls and starts afresh at MoveToEx.
TEST(Drawing, DashedPensFollowTheirPatternAlongTheLine) {
    struct Case {
        int style, bkMode;
        std::vector<POINT> path;
        const char* row;
    };
    const Case cases[] = {
        {PS_DASH, OPAQUE, {{0, 0}, {50, 0}}, "##################......##################......##"},
        {PS_DOT, OPAQUE, {{0, 0}, {50, 0}}, "###...###...###...###...###...###...###...###...##"},
        {PS_DASHDOT, OPAQUE, {{0, 0}, {50, 0}}, "#########......###......#########......###......##"},
        {PS_DASHDOTDOT, OPAQUE, {{0, 0}, {50, 0}}, "#########...###...###...#########...###...###...##"},
        {PS_DASH, TRANSPARENT, {{0, 0}, {50, 0}}, "##################++++++##################++++++##"},
        {PS_DASHDOT, TRANSPARENT, {{0, 0}, {7, 0}, {20, 0}, {50, 0}},
         "#########++++++###++++++#########++++++###++++++##"},
        {PS_DASH, OPAQUE, {{49, 0}, {-1, 0}}, "##......##################......##################"},
        {PS_DASH, OPAQUE, {{-1000000000, 0}, {1000000000, 0}},
         "##......##################......##################"},
        {PS_DASH, TRANSPARENT, {{0, 0}, {-5, 0}, {50, 0}},  // 5 out, 5 back: 10 into the dash
         "########++++++##################++++++############"},
        {PS_NULL, OPAQUE, {{0, 0}, {50, 0}}, "++++++++++++++++++++++++++++++++++++++++++++++++++"},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "style " << c.style << " mode " << c.bkMode << " from "
                                          << c.path[0].x);
        Canvas canvas(50, 1);
        canvas.Fill(RGB(128, 128, 128));
        EXPECT_EQ(SetBkMode(canvas.dc(), c.bkMode), OPAQUE);
        PenPath(canvas.dc(), c.style, 1, c.path);
        EXPECT_EQ(canvas.Picture(), std::string(c.row) + "\n");
        // MoveToEx starts the pattern again.
        PenPath(canvas.dc(), c.style, 1, c.path);
        EXPECT_EQ(canvas.Picture(), std::string(c.row) + "\n");
    }
    EXPECT_EQ(SetBkMode(nullptr, OPAQUE), 0);
    EXPECT_EQ(GetBkMode(nullptr), 0);
    Canvas canvas(1, 1);
    EXPECT_EQ(SetBkMode(canvas.dc(), 3), 0) << "only OPAQUE and TRANSPARENT";
    EXPECT_EQ(GetBkMode(canvas.dc()), OPAQUE);
}

// Dashes exist only one pixel wide: a wider dashed pen is made solid, and
// styles CreatePen does not know are refused.
TEST(Drawing, WideDashedPensAreSolidAndUnknownStylesRefused) {
    struct Case {
        int style, width;
        UINT made;  // the style GetObject reports, or 0 with `error` when refused
        DWORD error;
    };
    const Case cases[] = {
        {PS_DASH, 2, PS_SOLID, 0},      {PS_DOT, 0, PS_DOT, 0},
        {PS_DASHDOTDOT, 5, PS_SOLID, 0}, {PS_INSIDEFRAME, 3, PS_INSIDEFRAME, 0},
        {PS_USERSTYLE, 1, 0, ERROR_NOT_SUPPORTED}, {9, 1, 0, ERROR_INVALID_PARAMETER},
        {-1, 1, 0, ERROR_INVALID_PARAMETER},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "style " << c.style << " width " << c.width);
        SetLastError(0);
        HPEN pen = CreatePen(c.style, c.width, RGB(0, 0, 0));
        if (c.error != 0) {
            EXPECT_EQ(pen, nullptr);
            EXPECT_EQ(GetLastError(), c.error);
            continue;
        }
        LOGPEN record{};
        ASSERT_EQ(GetObjectA(pen, sizeof record, &record), static_cast<int>(sizeof record));
        EXPECT_EQ(record.lopnStyle, c.made);
        EXPECT_EQ(record.lopnWidth.x, c.width);
        DeleteObject(pen);
    }
}

// System colours: GetSysColor, the cached brushes of GetSysColorBrush, and
// FillRect's brush given as a colour index plus one. Index 25 has no colour.
TEST(Drawing, SystemColoursAndTheirBrushes) {
    struct Case {
        int index;
        COLORREF color;  // CLR_INVALID: no such colour
    };
    const Case cases[] = {
        {COLOR_SCROLLBAR, RGB(200, 200, 200)}, {COLOR_BACKGROUND, RGB(0, 0, 0)},
        {COLOR_ACTIVECAPTION, RGB(153, 180, 209)}, {COLOR_MENU, RGB(240, 240, 240)},
        {COLOR_WINDOW, RGB(255, 255, 255)},     {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
        {COLOR_HIGHLIGHT, RGB(0, 120, 215)},    {COLOR_3DFACE, RGB(240, 240, 240)},
        {COLOR_BTNSHADOW, RGB(160, 160, 160)},  {COLOR_GRAYTEXT, RGB(109, 109, 109)},
        {COLOR_3DDKSHADOW, RGB(105, 105, 105)}, {COLOR_INFOBK, RGB(255, 255, 225)},
        {COLOR_HOTLIGHT, RGB(0, 102, 204)},     {COLOR_MENUBAR, RGB(240, 240, 240)},
        {25, CLR_INVALID}, {-1, CLR_INVALID},   {COLOR_MENUBAR + 1, CLR_INVALID},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        Canvas canvas(3, 2);
        canvas.Fill(RGB(1, 2, 3));
        RECT rect{0, 0, 3, 2};
        SetLastError(0);
        HBRUSH value = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(c.index + 1));
        int filled = FillRect(canvas.dc(), &rect, value);
        HBRUSH brush = GetSysColorBrush(c.index);
        if (c.color == CLR_INVALID) {
            EXPECT_EQ(filled, 0);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
            EXPECT_EQ(GetSysColor(c.index), 0u);
            EXPECT_EQ(brush, nullptr);
            continue;
        }
        EXPECT_NE(filled, 0);
        EXPECT_EQ(GetPixel(canvas.dc(), 2, 1), c.color);
        EXPECT_EQ(GetSysColor(c.index), c.color);
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(GetSysColorBrush(c.index), brush) << "the brush is cached";
        EXPECT_NE(DeleteObject(brush), 0) << "deleting it does nothing";
        LOGBRUSH record{};
        ASSERT_EQ(GetObjectA(brush, sizeof record, &record), static_cast<int>(sizeof record));
        EXPECT_EQ(record.lbColor, c.color);
    }
}

TEST(Drawing, PenColourNullPenAndColoursAtEveryDepth) {
    const std::vector<RGBQUAD> palette = {{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 200, 0}, {10, 200, 10, 0}};
    struct Case {
        int bitCount;
        COLORREF asked, stored;
    };
    const Case cases[] = {
        {1, RGB(200, 0, 0), RGB(0, 0, 0)},      // nearer black than white
        {1, RGB(200, 200, 200), RGB(255, 255, 255)},
        {4, RGB(190, 5, 0), RGB(200, 0, 0)},    // nearest entry of the table
        {8, RGB(20, 190, 0), RGB(10, 200, 10)},
        {16, RGB(255, 255, 255), RGB(255, 255, 255)},  // 5-bit white widens to 255
        {16, RGB(0x84, 0x42, 0x21), RGB(0x84, 0x42, 0x21)},
        {24, RGB(1, 2, 3), RGB(1, 2, 3)},
        {32, RGB(1, 2, 3), RGB(1, 2, 3)},
    };
    ResourceGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitCount);
        Canvas canvas(9, 3, c.bitCount, palette);
        HPEN pen = CreatePen(PS_SOLID, 1, c.asked);
        HGDIOBJ previousPen = SelectObject(canvas.dc(), pen);
        Line(canvas.dc(), 0, 1, 9, 1);
        for (int x = 0; x < 9; ++x) EXPECT_EQ(GetPixel(canvas.dc(), x, 1), c.stored) << x;
        EXPECT_EQ(SetPixel(canvas.dc(), 4, 2, c.asked), c.stored);
        SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
        Line(canvas.dc(), 0, 0, 9, 0);
        EXPECT_EQ(GetPixel(canvas.dc(), 3, 0), GetPixel(canvas.dc(), 3, 2)) << "a null pen draws nothing";
        SelectObject(canvas.dc(), previousPen);
        DeleteObject(pen);
    }
}

}  // namespace
