// The rectangle helpers, one row per documented case: empty rectangles,
// edges that count as inside or outside, and SubtractRect's rule that only
// a cut spanning the whole rectangle across one axis shortens it.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

namespace {

constexpr RECT kZero = {0, 0, 0, 0};
constexpr RECT kSentinel = {7, 7, 7, 7};

TEST(Rectangles, TwoRectangleOperations) {
    using Operation = BOOL(WINAPI*)(LPRECT, const RECT*, const RECT*);
    const struct {
        const char* name;
        Operation operation;
        RECT a, b;
        BOOL result;
        RECT expected;
    } cases[] = {
        {"overlap", IntersectRect, {0, 0, 10, 10}, {5, 5, 20, 20}, TRUE, {5, 5, 10, 10}},
        {"inside", IntersectRect, {0, 0, 10, 10}, {2, 3, 4, 5}, TRUE, {2, 3, 4, 5}},
        {"disjoint: all zeros", IntersectRect, {0, 0, 10, 10}, {20, 20, 30, 30}, FALSE, kZero},
        {"touching edges share nothing", IntersectRect, {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, kZero},
        {"an empty source", IntersectRect, {0, 0, 10, 10}, {5, 5, 5, 8}, FALSE, kZero},
        {"an inverted source", IntersectRect, {10, 10, 0, 0}, {0, 0, 10, 10}, FALSE, kZero},

        {"both", UnionRect, {0, 0, 10, 10}, {5, 5, 20, 30}, TRUE, {0, 0, 20, 30}},
        {"apart", UnionRect, {0, 0, 1, 1}, {8, 9, 10, 10}, TRUE, {0, 0, 10, 10}},
        {"an empty one is ignored", UnionRect, {-50, -50, -50, 40}, {1, 2, 3, 4}, TRUE, {1, 2, 3, 4}},
        {"the other way round", UnionRect, {1, 2, 3, 4}, {0, 0, 0, 0}, TRUE, {1, 2, 3, 4}},
        {"two empty ones: all zeros", UnionRect, {5, 5, 5, 9}, {3, 3, 1, 1}, FALSE, kZero},

        // The platform's own examples.
        {"a corner cut keeps it whole", SubtractRect, {10, 10, 100, 100}, {50, 50, 150, 150}, TRUE,
         {10, 10, 100, 100}},
        {"a full-height cut on the right", SubtractRect, {10, 10, 100, 100}, {50, 10, 150, 150}, TRUE,
         {10, 10, 50, 100}},
        {"a full-height cut on the left", SubtractRect, {10, 10, 100, 100}, {0, 0, 40, 100}, TRUE,
         {40, 10, 100, 100}},
        {"a full-width cut at the top", SubtractRect, {10, 10, 100, 100}, {10, 0, 100, 30}, TRUE,
         {10, 30, 100, 100}},
        {"a full-width cut at the bottom", SubtractRect, {10, 10, 100, 100}, {0, 60, 200, 200}, TRUE,
         {10, 10, 100, 60}},
        {"a band through the middle keeps it whole", SubtractRect, {10, 10, 100, 100}, {0, 40, 200, 60},
         TRUE, {10, 10, 100, 100}},
        {"disjoint keeps it whole", SubtractRect, {10, 10, 100, 100}, {200, 200, 300, 300}, TRUE,
         {10, 10, 100, 100}},
        {"covered entirely: empty", SubtractRect, {10, 10, 100, 100}, {0, 0, 100, 100}, FALSE, kZero},
        {"an empty first: empty", SubtractRect, {10, 10, 10, 100}, {0, 0, 1, 1}, FALSE, kZero},
        {"an empty second changes nothing", SubtractRect, {10, 10, 100, 100}, {10, 10, 10, 100}, TRUE,
         {10, 10, 100, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RECT out = kSentinel;
        EXPECT_EQ(c.operation(&out, &c.a, &c.b), c.result);
        EXPECT_EQ(out, c.expected);
        // The destination may be one of the sources.
        RECT a = c.a;
        EXPECT_EQ(c.operation(&a, &a, &c.b), c.result);
        EXPECT_EQ(a, c.expected);
        EXPECT_FALSE(c.operation(nullptr, &c.a, &c.b));
        EXPECT_FALSE(c.operation(&out, nullptr, &c.b));
        EXPECT_FALSE(c.operation(&out, &c.a, nullptr));
    }
}

TEST(Rectangles, OneRectangleHelpers) {
    RECT r;
    EXPECT_TRUE(SetRect(&r, 1, 2, 3, 4));
    EXPECT_EQ(r, (RECT{1, 2, 3, 4}));
    EXPECT_TRUE(InflateRect(&r, 2, -1));
    EXPECT_EQ(r, (RECT{-1, 3, 5, 3})) << "a negative amount shrinks";
    EXPECT_TRUE(OffsetRect(&r, 10, -20));
    EXPECT_EQ(r, (RECT{9, -17, 15, -17}));
    RECT copy = kSentinel;
    EXPECT_TRUE(CopyRect(&copy, &r));
    EXPECT_EQ(copy, r);
    EXPECT_TRUE(SetRectEmpty(&copy));
    EXPECT_EQ(copy, kZero);
    // Coordinates wrap rather than overflow.
    RECT edge = {INT_MAX, 0, INT_MAX, 0};
    EXPECT_TRUE(OffsetRect(&edge, 1, 0));
    EXPECT_EQ(edge.left, INT_MIN);

    for (auto call : {+[] { return SetRect(nullptr, 0, 0, 1, 1); }, +[] { return SetRectEmpty(nullptr); },
                      +[] { return CopyRect(nullptr, &kZero); }, +[] { return InflateRect(nullptr, 1, 1); },
                      +[] { return OffsetRect(nullptr, 1, 1); }, +[] { return EqualRect(&kZero, nullptr); },
                      +[] { return PtInRect(nullptr, POINT{0, 0}); }}) {
        EXPECT_FALSE(call()) << "a null rectangle";
    }
    RECT out = kSentinel;
    EXPECT_FALSE(CopyRect(&out, nullptr));
    EXPECT_EQ(out, kSentinel);

    const struct {
        RECT r;
        BOOL empty;
    } emptiness[] = {{{0, 0, 1, 1}, FALSE}, {{0, 0, 0, 1}, TRUE},  {{0, 0, 1, 0}, TRUE},
                     {{5, 5, 4, 9}, TRUE},  {{-3, -3, -2, -2}, FALSE}};
    for (const auto& e : emptiness) EXPECT_EQ(IsRectEmpty(&e.r), e.empty) << e.r;
    EXPECT_TRUE(IsRectEmpty(nullptr));
    const RECT emptyA = {0, 0, 0, 5}, emptyB = {3, 3, 3, 3};
    EXPECT_FALSE(EqualRect(&emptyA, &emptyB)) << "coordinates are compared, not areas";

    const RECT box = {10, 20, 30, 40};
    const struct {
        POINT p;
        BOOL inside;
    } points[] = {{{10, 20}, TRUE},  {{29, 39}, TRUE},  {{30, 25}, FALSE}, {{15, 40}, FALSE},
                  {{9, 25}, FALSE},  {{15, 19}, FALSE}, {{20, 30}, TRUE}};
    for (const auto& p : points) EXPECT_EQ(PtInRect(&box, p.p), p.inside) << p.p.x << "," << p.p.y;
}

}  // namespace
