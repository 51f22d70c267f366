// SaveDC and RestoreDC: levels, positive and negative arguments, every
// attribute brought back, and the objects a saved state keeps selected.
#include "resource_guard.h"
#include "test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using testing_support::ResourceGuard;

// One attribute of a context: `set` gives it the value numbered `n` (1 or
// 2, both unlike the default), `get` names its current value.
struct Attribute {
    const char* name;
    std::function<void(HDC, int n)> set;
    std::function<std::string(HDC)> get;
};

std::string PointText(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// Every attribute a context has, with objects of its own to select.
class Attributes {
public:
    Attributes() {
        pens_[0] = CreatePen(PS_SOLID, 1, RGB(1, 0, 0));
        pens_[1] = CreatePen(PS_DASH, 1, RGB(2, 0, 0));
        brushes_[0] = CreateSolidBrush(RGB(0, 1, 0));
        brushes_[1] = CreateSolidBrush(RGB(0, 2, 0));
        for (int i = 0; i < 2; ++i) {
            bitmaps_[i] = testing_support::MakeDib(2 + i, 2, 24).bitmap;
            struct {
                WORD version, count;
                PALETTEENTRY entry;
            } log = {0x300, 1, {BYTE(i), 3, 4, 0}};
            palettes_[i] = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
        }
    }
    // Every object must be free again by now: no state still holds it.
    ~Attributes() {
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(DeleteObject(pens_[i]));
            EXPECT_TRUE(DeleteObject(brushes_[i]));
            EXPECT_TRUE(DeleteObject(bitmaps_[i]));
            EXPECT_TRUE(DeleteObject(palettes_[i]));
        }
    }
    HBITMAP bitmap(int n) const { return bitmaps_[n - 1]; }
    HPEN pen(int n) const { return pens_[n - 1]; }

    std::vector<Attribute> All() const {
        auto object = [](UINT type) {
            return [type](HDC dc) { return std::to_string(reinterpret_cast<std::uintptr_t>(GetCurrentObject(dc, type))); };
        };
        return {
            {"bitmap", [this](HDC dc, int n) { SelectObject(dc, bitmaps_[n - 1]); }, object(OBJ_BITMAP)},
            {"pen", [this](HDC dc, int n) { SelectObject(dc, pens_[n - 1]); }, object(OBJ_PEN)},
            {"brush", [this](HDC dc, int n) { SelectObject(dc, brushes_[n - 1]); }, object(OBJ_BRUSH)},
            {"palette", [this](HDC dc, int n) { SelectPalette(dc, palettes_[n - 1], FALSE); }, object(OBJ_PAL)},
            {"text colour", [](HDC dc, int n) { SetTextColor(dc, RGB(n, 9, 9)); },
             [](HDC dc) { return std::to_string(GetTextColor(dc)); }},
            {"background colour", [](HDC dc, int n) { SetBkColor(dc, RGB(9, n, 9)); },
             [](HDC dc) { return std::to_string(GetBkColor(dc)); }},
            {"background mode", [](HDC dc, int n) { SetBkMode(dc, n == 1 ? TRANSPARENT : OPAQUE); },
             [](HDC dc) { return std::to_string(GetBkMode(dc)); }},
            {"stretch mode", [](HDC dc, int n) { SetStretchBltMode(dc, n == 1 ? HALFTONE : COLORONCOLOR); },
             [](HDC dc) { return std::to_string(GetStretchBltMode(dc)); }},
            {"brush origin", [](HDC dc, int n) { SetBrushOrgEx(dc, n, -n, nullptr); },
             [](HDC dc) {
                 POINT p{};
                 GetBrushOrgEx(dc, &p);
                 return PointText(p);
             }},
            {"viewport origin", [](HDC dc, int n) { SetViewportOrgEx(dc, n, 2 * n, nullptr); },
             [](HDC dc) {
                 POINT p{};
                 GetViewportOrgEx(dc, &p);
                 return PointText(p);
             }},
            {"graphics mode", [](HDC dc, int n) { SetGraphicsMode(dc, n == 1 ? GM_ADVANCED : GM_COMPATIBLE); },
             [](HDC dc) { return std::to_string(GetGraphicsMode(dc)); }},
            {"mapping mode", [](HDC dc, int n) { SetMapMode(dc, n == 1 ? MM_LOMETRIC : MM_TWIPS); },
             [](HDC dc) { return std::to_string(GetMapMode(dc)); }},
            {"position", [](HDC dc, int n) { MoveToEx(dc, 10 * n, 3, nullptr); },
             [](HDC dc) {
                 POINT p{};
                 MoveToEx(dc, 0, 0, &p);  // reads by moving: put it back
                 MoveToEx(dc, p.x, p.y, nullptr);
                 return PointText(p);
             }},
        };
    }

private:
    HPEN pens_[2];
    HBRUSH brushes_[2];
    HBITMAP bitmaps_[2];
    HPALETTE palettes_[2];
};

std::vector<std::string> Snapshot(HDC dc, const std::vector<Attribute>& attributes) {
    std::vector<std::string> values;
    for (const Attribute& a : attributes) values.push_back(a.get(dc));
    return values;
}

TEST(SavedStates, RestoreBringsBackEveryAttribute) {
    ResourceGuard guard;
    Attributes objects;
    const std::vector<Attribute> attributes = objects.All();
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const std::vector<std::string> initial = Snapshot(dc, attributes);
    for (const Attribute& a : attributes) {
        SCOPED_TRACE(a.name);
        ASSERT_EQ(SaveDC(dc), 1);
        a.set(dc, 1);
        EXPECT_NE(a.get(dc), initial[&a - attributes.data()]) << "the setter changes it";
        ASSERT_TRUE(RestoreDC(dc, -1));
        EXPECT_EQ(Snapshot(dc, attributes), initial);
    }
    // All at once, two levels deep.
    for (const Attribute& a : attributes) a.set(dc, 1);
    const std::vector<std::string> first = Snapshot(dc, attributes);
    ASSERT_EQ(SaveDC(dc), 1);
    for (const Attribute& a : attributes) a.set(dc, 2);
    const std::vector<std::string> second = Snapshot(dc, attributes);
    ASSERT_EQ(SaveDC(dc), 2);
    for (const Attribute& a : attributes) a.set(dc, 1);
    ASSERT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(Snapshot(dc, attributes), second);
    ASSERT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(Snapshot(dc, attributes), first);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(SavedStates, LevelsAndArguments) {
    // Three states saved, with stretch modes 1, 2 and 3 (the current one is
    // 4); RestoreDC's argument, whether it succeeds, the mode it leaves and
    // the level the next SaveDC returns.
    const struct {
        int argument;
        bool restores;
        int mode;
        int nextLevel;
    } cases[] = {
        {-1, true, 3, 3},  {-2, true, 2, 2},      {-3, true, 1, 1},     {3, true, 3, 3},
        {2, true, 2, 2},   {1, true, 1, 1},       {0, false, 4, 4},     {4, false, 4, 4},
        {-4, false, 4, 4}, {INT_MAX, false, 4, 4}, {INT_MIN, false, 4, 4},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        for (int mode = 1; mode <= 3; ++mode) {
            SetStretchBltMode(dc, mode);
            ASSERT_EQ(SaveDC(dc), mode);
        }
        SetStretchBltMode(dc, 4);
        SetLastError(0);
        EXPECT_EQ(RestoreDC(dc, c.argument), c.restores ? TRUE : FALSE);
        if (!c.restores) {
            EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
        }
        EXPECT_EQ(GetStretchBltMode(dc), c.mode);
        EXPECT_EQ(SaveDC(dc), c.nextLevel) << "states above the restored one are gone";
        while (RestoreDC(dc, -1)) {
        }
    }
    EXPECT_FALSE(RestoreDC(dc, -1)) << "nothing saved";
    EXPECT_TRUE(DeleteDC(dc));

    SetLastError(0);
    EXPECT_EQ(SaveDC(nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_EQ(SaveDC(dc), 0) << "deleted context";
    EXPECT_FALSE(RestoreDC(dc, -1));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});

    HDC screen = GetDC(nullptr);
    EXPECT_EQ(SaveDC(screen), 1);
    EXPECT_TRUE(RestoreDC(screen, 1));
    EXPECT_EQ(SaveDC(screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1) << "released with a state still saved";
}

TEST(SavedStates, SavedObjectsStaySelected) {
    ResourceGuard guard;
    Attributes objects;
    HDC dc = CreateCompatibleDC(nullptr);
    HDC other = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    ASSERT_NE(other, nullptr);
    HGDIOBJ stockBitmap = SelectObject(dc, objects.bitmap(1));
    SelectObject(dc, objects.pen(1));
    ASSERT_EQ(SaveDC(dc), 1);
    SelectObject(dc, objects.bitmap(2));
    SelectObject(dc, GetStockObject(BLACK_PEN));

    // The saved state still holds the bitmap and the pen.
    EXPECT_EQ(SelectObject(other, objects.bitmap(1)), nullptr) << "held by dc's saved state";
    EXPECT_FALSE(DeleteObject(objects.bitmap(1)));
    EXPECT_FALSE(DeleteObject(objects.pen(1)));
    // It may come back into its own context; what it replaces is free.
    EXPECT_EQ(SelectObject(dc, objects.bitmap(1)), objects.bitmap(2));
    EXPECT_EQ(SelectObject(other, objects.bitmap(2)), stockBitmap);
    EXPECT_EQ(SelectObject(dc, objects.bitmap(2)), nullptr) << "now in the other context";
    EXPECT_TRUE(DeleteDC(other));

    // Restoring gives back the holds of the state it replaces.
    SelectObject(dc, objects.bitmap(2));
    ASSERT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), objects.bitmap(1));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), objects.pen(1));
    EXPECT_FALSE(DeleteObject(objects.pen(1))) << "selected again";
    HDC third = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(third, objects.bitmap(2)), stockBitmap) << "no state names it now";
    EXPECT_TRUE(DeleteDC(third));

    // Deleting a context with states saved lets every object go: the
    // objects' destructor and the guard check it.
    ASSERT_EQ(SaveDC(dc), 1);
    SelectObject(dc, objects.bitmap(2));
    ASSERT_EQ(SaveDC(dc), 2);
    EXPECT_TRUE(DeleteDC(dc));
}

}  // namespace
