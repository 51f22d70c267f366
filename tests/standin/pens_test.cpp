// Pens made by CreatePenIndirect and ExtCreatePen: what they accept, how
// GetObject describes them, and the pixels their lines cover.
#include "paint_canvas.h"
#include "resource_guard.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

using namespace testing_support;

namespace {

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

struct ExtPenCase {
    DWORD style;
    DWORD width;
    UINT brushStyle;
    ULONG_PTR hatch;
    std::vector<DWORD> runs;
    bool made;
};

// What ExtCreatePen accepts, and the EXTLOGPEN it reports back, the
// caller's runs included.
TEST(ExtCreatePen, AcceptsTheDocumentedCombinationsAndDescribesThem) {
    ResourceGuard guard;
    const DWORD geometric = PS_GEOMETRIC, cosmetic = PS_COSMETIC;
    const ExtPenCase cases[] = {
        {cosmetic | PS_SOLID, 1, BS_SOLID, 0, {}, true},
        {cosmetic | PS_ALTERNATE, 1, BS_SOLID, 0, {}, true},
        {cosmetic | PS_USERSTYLE, 1, BS_SOLID, 0, {2, 1, 1}, true},
        {cosmetic | PS_SOLID, 2, BS_SOLID, 0, {}, false},            // cosmetic pens are 1 wide
        {cosmetic | PS_SOLID, 1, BS_HATCHED, HS_CROSS, {}, false},   // and solid
        {geometric | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 7, BS_HATCHED, HS_CROSS, {}, true},
        {geometric | PS_DASH | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL, 3, BS_SOLID, 0, {}, true},
        {geometric | PS_INSIDEFRAME, 5, BS_SOLID, 0, {}, true},
        {geometric | PS_USERSTYLE, 4, BS_SOLID, 0, {5, 3}, true},
        {geometric | PS_NULL, 4, BS_NULL, 0, {}, true},
        {geometric | PS_ALTERNATE, 4, BS_SOLID, 0, {}, false},      // alternate is cosmetic only
        {geometric | PS_SOLID, 4, BS_HATCHED, 9, {}, false},         // no such hatch
        {geometric | PS_SOLID, 4, BS_INDEXED, 0, {}, false},
        {geometric | PS_USERSTYLE, 4, BS_SOLID, 0, {}, false},       // a user style needs runs
        {geometric | PS_USERSTYLE, 4, BS_SOLID, 0, {0, 0}, false},   // that add up to something
        {geometric | PS_USERSTYLE, 4, BS_SOLID, 0, std::vector<DWORD>(17, 1), false},
        {geometric | PS_DASH, 4, BS_SOLID, 0, {1, 1}, false},        // runs are for user styles only
        {geometric | 9, 4, BS_SOLID, 0, {}, false},
        {0x00020000 | PS_SOLID, 1, BS_SOLID, 0, {}, false},          // no such type
        {geometric | PS_SOLID | 0x300, 4, BS_SOLID, 0, {}, false},   // no such end cap
        {geometric | PS_SOLID | 0x3000, 4, BS_SOLID, 0, {}, false},  // no such join
    };
    for (const ExtPenCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "style " << c.style << " width " << c.width);
        const LOGBRUSH brush{c.brushStyle, RGB(1, 2, 3), c.hatch};
        HPEN pen = ExtCreatePen(c.style, c.width, &brush, static_cast<DWORD>(c.runs.size()),
                                c.runs.empty() ? nullptr : c.runs.data());
        ASSERT_EQ(pen != nullptr, c.made);
        if (pen == nullptr) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
            continue;
        }
        EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_EXTPEN));
        const int size = static_cast<int>(offsetof(EXTLOGPEN, elpStyleEntry) + c.runs.size() * sizeof(DWORD));
        EXPECT_EQ(GetObjectA(pen, 0, nullptr), size);
        std::vector<DWORD> buffer(32);
        EXPECT_EQ(GetObjectA(pen, size - 1, buffer.data()), 0);
        ASSERT_EQ(GetObjectA(pen, static_cast<int>(buffer.size() * sizeof(DWORD)), buffer.data()), size);
        const auto* described = reinterpret_cast<const EXTLOGPEN*>(buffer.data());
        EXPECT_EQ(described->elpPenStyle, c.style);
        EXPECT_EQ(described->elpWidth, c.width);
        EXPECT_EQ(described->elpBrushStyle, c.brushStyle);
        if (c.brushStyle != BS_NULL) {
            EXPECT_EQ(described->elpColor, RGB(1, 2, 3));
        }
        EXPECT_EQ(described->elpHatch, c.hatch);
        ASSERT_EQ(described->elpNumEntries, c.runs.size());
        for (std::size_t i = 0; i < c.runs.size(); ++i) EXPECT_EQ(described->elpStyleEntry[i], c.runs[i]);
        DeleteObject(pen);
    }
    EXPECT_EQ(ExtCreatePen(PS_SOLID, 1, nullptr, 0, nullptr), nullptr);
}

TEST(CreatePenIndirect, MakesTheLogicalPenItDescribes) {
    ResourceGuard guard;
    const LOGPEN in{PS_DOT, POINT{1, 99}, RGB(9, 8, 7)};
    HPEN pen = CreatePenIndirect(&in);
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    LOGPEN out{};
    ASSERT_EQ(GetObjectA(pen, sizeof out, &out), static_cast<int>(sizeof out));
    EXPECT_EQ(out.lopnStyle, in.lopnStyle);
    EXPECT_EQ(out.lopnWidth.x, 1);
    EXPECT_EQ(out.lopnColor, in.lopnColor);
    DeleteObject(pen);
    const LOGPEN bad{99, POINT{1, 0}, 0};
    EXPECT_EQ(CreatePenIndirect(&bad), nullptr);
    EXPECT_EQ(CreatePenIndirect(nullptr), nullptr);
}

// One-pixel styled lines: PS_ALTERNATE lights every other pixel, a user
// style repeats the caller's runs (an odd count swapping on and off each
// time round), the gaps take the background colour in OPAQUE mode and the
// pattern carries on from one LineTo to the next.
TEST(CosmeticStyles, AlternateAndUserRunsAlongTheMajorAxis) {
    ResourceGuard guard;
    const LOGBRUSH black{BS_SOLID, RGB(0, 0, 0), 0};
    PaintCanvas canvas(12, 3);
    canvas.Fill(RGB(255, 0, 0));
    canvas.Use(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &black, 0, nullptr));
    Line(canvas.dc(), 0, 0, 12, 0);
    SetBkMode(canvas.dc(), TRANSPARENT);
    Line(canvas.dc(), 0, 1, 12, 1);
    const DWORD runs[] = {2, 1, 1};
    canvas.Use(ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &black, 3, runs));
    MoveToEx(canvas.dc(), 0, 2, nullptr);
    LineTo(canvas.dc(), 5, 2);
    LineTo(canvas.dc(), 12, 2);
    EXPECT_EQ(canvas.Picture(BasicLegend()), Rows({"#.#.#.#.#.#.", "#r#r#r#r#r#r", "##r#rr#r##r#"}));
}

struct CapCase {
    DWORD cap;
    const char* picture;
};

// A geometric pen 5 wide from (3, 3) to (7, 3): flat ends stop at the end
// points, square ones carry the band on half the width, round ones add a
// disc at each end.
TEST(GeometricPens, EndCaps) {
    ResourceGuard guard;
    const CapCase cases[] = {
        {PS_ENDCAP_FLAT, "...........\n...#####...\n...#####...\n...#####...\n...#####...\n...#####...\n...........\n"},
        {PS_ENDCAP_SQUARE, "...........\n.#########.\n.#########.\n.#########.\n.#########.\n.#########.\n...........\n"},
        {PS_ENDCAP_ROUND, "...........\n..#######..\n.#########.\n.#########.\n.#########.\n..#######..\n...........\n"},
    };
    const LOGBRUSH black{BS_SOLID, RGB(0, 0, 0), 0};
    for (const CapCase& c : cases) {
        SCOPED_TRACE(c.cap);
        PaintCanvas canvas(11, 7);
        canvas.Fill(RGB(255, 255, 255));
        canvas.Use(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | c.cap | PS_JOIN_BEVEL, 5, &black, 0, nullptr));
        Line(canvas.dc(), 3, 3, 7, 3);
        EXPECT_EQ(canvas.Picture(BasicLegend()), c.picture);
    }
}

// A geometric pen draws with its brush: a hatched band shows the hatch
// aligned to the brush origin like any fill; a user style measures its runs
// along the line in logical units, each dash drawn with the pen's ends.
TEST(GeometricPens, BrushStyledAndUserDashed) {
    ResourceGuard guard;
    PaintCanvas canvas(16, 8);
    canvas.Fill(RGB(255, 255, 255));
    const LOGBRUSH hatch{BS_HATCHED, RGB(255, 0, 0), HS_VERTICAL};
    canvas.Use(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 8, &hatch, 0, nullptr));
    SetBkColor(canvas.dc(), RGB(0, 0, 255));
    SetBrushOrgEx(canvas.dc(), 1, 0, nullptr);
    Line(canvas.dc(), 0, 4, 16, 4);  // an even width: rows 0 to 7
    std::string band;
    for (int y = 0; y < 8; ++y) band += "bbbbbrbbbbbbbrbb\n";
    EXPECT_EQ(canvas.Picture(BasicLegend()), band);

    PaintCanvas dashed(12, 3);
    dashed.Fill(RGB(255, 255, 255));
    const LOGBRUSH black{BS_SOLID, RGB(0, 0, 0), 0};
    const DWORD runs[] = {4, 2};
    dashed.Use(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 3, &black, 2, runs));
    Line(dashed.dc(), 0, 1, 12, 1);
    EXPECT_EQ(dashed.Picture(BasicLegend()), Rows({"#####.#####.", "#####.#####.", "#####.#####."}));

    // A hollow brush draws nothing.
    const LOGBRUSH hollow{BS_NULL, 0, 0};
    dashed.Use(ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 3, &hollow, 0, nullptr));
    dashed.Fill(RGB(255, 255, 255));
    Line(dashed.dc(), 0, 1, 12, 1);
    EXPECT_EQ(dashed.Picture(BasicLegend()), Rows({"............", "............", "............"}));
}

}  // namespace
