// Coordinate spaces: LPtoDP and DPtoLP through every mapping mode, origin,
// world transform and layout, and the documented rules of the calls that
// set them. The screen every context describes is 508 x 286 mm at
// 1920 x 1080 pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct ContextOnBitmap {
    ContextOnBitmap() : dc(CreateCompatibleDC(nullptr)), bitmap(CreateCompatibleBitmap(dc, 100, 10)) {
        previous = SelectObject(dc, bitmap);
    }
    ~ContextOnBitmap() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

void Rotate90(HDC dc) {
    SetGraphicsMode(dc, GM_ADVANCED);
    const XFORM turn{0, 1, -1, 0, 10, 0};  // (x, y) -> (10 - y, x)
    SetWorldTransform(dc, &turn);
}

TEST(CoordinateSpace, PointsThroughEachMapping) {
    const struct {
        const char* name;
        std::function<void(HDC)> setup;
        POINT logical, device, back;  // back: DPtoLP of `device`
    } cases[] = {
        {"MM_TEXT", [](HDC) {}, {100, 50}, {100, 50}, {100, 50}},
        {"MM_LOMETRIC", [](HDC dc) { SetMapMode(dc, MM_LOMETRIC); }, {1000, 1000}, {378, -378}, {1000, 1001}},
        {"MM_HIMETRIC", [](HDC dc) { SetMapMode(dc, MM_HIMETRIC); }, {10000, 10000}, {378, -378}, {10001, 10010}},
        {"MM_LOENGLISH", [](HDC dc) { SetMapMode(dc, MM_LOENGLISH); }, {100, 100}, {96, -96}, {100, 100}},
        {"MM_HIENGLISH", [](HDC dc) { SetMapMode(dc, MM_HIENGLISH); }, {1000, 1000}, {96, -96}, {1000, 1001}},
        {"MM_TWIPS", [](HDC dc) { SetMapMode(dc, MM_TWIPS); }, {1440, 1440}, {96, -96}, {1440, 1441}},
        {"MM_ISOTROPIC as MM_LOMETRIC", [](HDC dc) { SetMapMode(dc, MM_ISOTROPIC); }, {1000, 1000}, {378, -378},
         {1000, 1001}},
        {"MM_ISOTROPIC narrows x",
         [](HDC dc) {
             SetMapMode(dc, MM_ISOTROPIC);
             SetWindowExtEx(dc, 100, 100, nullptr);
             SetViewportExtEx(dc, 200, 100, nullptr);
         },
         {10, 10}, {10, 10}, {10, 10}},
        {"MM_ISOTROPIC narrows y, keeping its sign",
         [](HDC dc) {
             SetMapMode(dc, MM_ISOTROPIC);
             SetWindowExtEx(dc, 100, 100, nullptr);
             SetViewportExtEx(dc, 100, -300, nullptr);
         },
         {10, 10}, {10, -10}, {10, 10}},
        {"MM_ANISOTROPIC with both origins",
         [](HDC dc) {
             SetMapMode(dc, MM_ANISOTROPIC);
             SetWindowExtEx(dc, 10, 20, nullptr);
             SetViewportExtEx(dc, 30, -40, nullptr);
             SetWindowOrgEx(dc, 5, 5, nullptr);
             SetViewportOrgEx(dc, 100, 100, nullptr);
         },
         {15, 25}, {130, 60}, {15, 25}},
        {"viewport offset", [](HDC dc) { OffsetViewportOrgEx(dc, 7, -3, nullptr); }, {1, 1}, {8, -2}, {1, 1}},
        {"window offset", [](HDC dc) { OffsetWindowOrgEx(dc, 7, -3, nullptr); }, {1, 1}, {-6, 4}, {1, 1}},
        {"world rotation", Rotate90, {3, 4}, {6, 3}, {3, 4}},
        {"right to left on 100 pixels", [](HDC dc) { SetLayout(dc, LAYOUT_RTL); }, {10, 5}, {89, 5}, {10, 5}},
        {"rounding halves up",
         [](HDC dc) {
             SetMapMode(dc, MM_ANISOTROPIC);
             SetViewportExtEx(dc, 1, 1, nullptr);
             SetWindowExtEx(dc, 2, -2, nullptr);
         },
         {3, 3}, {2, -1}, {4, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ContextOnBitmap target;
        c.setup(target.dc);
        POINT p = c.logical;
        ASSERT_TRUE(LPtoDP(target.dc, &p, 1));
        EXPECT_EQ(p.x, c.device.x);
        EXPECT_EQ(p.y, c.device.y);
        ASSERT_TRUE(DPtoLP(target.dc, &p, 1));
        EXPECT_EQ(p.x, c.back.x);
        EXPECT_EQ(p.y, c.back.y);
    }
}

TEST(CoordinateSpace, ExtentsFollowTheMode) {
    ContextOnBitmap target;
    HDC dc = target.dc;
    SIZE size{};
    EXPECT_TRUE(SetWindowExtEx(dc, 5, 5, &size)) << "ignored in MM_TEXT";
    GetWindowExtEx(dc, &size);
    EXPECT_EQ(size.cx, 1);
    EXPECT_EQ(SetMapMode(dc, MM_LOMETRIC), MM_TEXT);
    // Tenths of a millimetre across the device, to its pixels, y upwards.
    GetWindowExtEx(dc, &size);
    EXPECT_EQ(size.cx, GetDeviceCaps(dc, HORZSIZE) * 10);
    EXPECT_EQ(size.cy, GetDeviceCaps(dc, VERTSIZE) * 10);
    GetViewportExtEx(dc, &size);
    EXPECT_EQ(size.cx, GetDeviceCaps(dc, HORZRES));
    EXPECT_EQ(size.cy, -GetDeviceCaps(dc, VERTRES));
    EXPECT_TRUE(SetViewportExtEx(dc, 7, 7, nullptr)) << "ignored in MM_LOMETRIC";
    EXPECT_TRUE(ScaleWindowExtEx(dc, 2, 1, 2, 1, nullptr)) << "ignored in MM_LOMETRIC";
    GetWindowExtEx(dc, &size);
    EXPECT_EQ(size.cx, GetDeviceCaps(dc, HORZSIZE) * 10) << "unchanged";
    GetViewportExtEx(dc, &size);
    EXPECT_EQ(size.cx, GetDeviceCaps(dc, HORZRES)) << "unchanged";
    EXPECT_EQ(SetMapMode(dc, MM_ANISOTROPIC), MM_LOMETRIC);
    GetWindowExtEx(dc, &size);
    EXPECT_EQ(size.cx, 5080) << "MM_ANISOTROPIC keeps the extents it finds";
    EXPECT_FALSE(SetViewportExtEx(dc, 0, 3, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_TRUE(ScaleViewportExtEx(dc, 1, 2, 3, 1, &size));
    EXPECT_EQ(size.cx, 1920);
    GetViewportExtEx(dc, &size);
    EXPECT_EQ(size.cx, 960);
    EXPECT_EQ(size.cy, -3240);
    EXPECT_FALSE(ScaleWindowExtEx(dc, 1, 0, 1, 1, nullptr)) << "zero denominator";
    EXPECT_FALSE(ScaleWindowExtEx(dc, 0, 1, 1, 1, nullptr)) << "an extent scaled to zero";
    EXPECT_EQ(SetMapMode(dc, MM_TEXT), MM_ANISOTROPIC);
    GetViewportExtEx(dc, &size);
    EXPECT_EQ(size.cx, 1);
    EXPECT_EQ(SetMapMode(dc, 9), 0);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    POINT origin{};
    SetViewportOrgEx(dc, 0x7FFFFFFF, 0, nullptr);
    EXPECT_FALSE(OffsetViewportOrgEx(dc, 1, 0, &origin)) << "past LONG's range";
    EXPECT_EQ(origin.x, 0x7FFFFFFF);
    EXPECT_EQ(GetMapMode(nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
}

TEST(CoordinateSpace, WorldTransformRules) {
    ContextOnBitmap target;
    HDC dc = target.dc;
    const XFORM scale{2, 0, 0, 3, 0, 0}, shift{1, 0, 0, 1, 5, 7}, flat{1, 2, 2, 4, 0, 0};
    EXPECT_FALSE(SetWorldTransform(dc, &scale)) << "GM_COMPATIBLE";
    EXPECT_FALSE(ModifyWorldTransform(dc, nullptr, MWT_IDENTITY));
    EXPECT_EQ(SetGraphicsMode(dc, GM_ADVANCED), GM_COMPATIBLE);
    EXPECT_FALSE(SetWorldTransform(dc, &flat)) << "collapses the plane";
    ASSERT_TRUE(SetWorldTransform(dc, &scale));
    ASSERT_TRUE(ModifyWorldTransform(dc, &shift, MWT_RIGHTMULTIPLY));  // scale, then shift
    XFORM now{};
    GetWorldTransform(dc, &now);
    EXPECT_EQ(now.eDx, 5);
    EXPECT_EQ(now.eDy, 7);
    ASSERT_TRUE(SetWorldTransform(dc, &scale));
    ASSERT_TRUE(ModifyWorldTransform(dc, &shift, MWT_LEFTMULTIPLY));  // shift, then scale
    GetWorldTransform(dc, &now);
    EXPECT_EQ(now.eDx, 10);
    EXPECT_EQ(now.eDy, 21);
    EXPECT_FALSE(ModifyWorldTransform(dc, &shift, 4));
    EXPECT_EQ(SetGraphicsMode(dc, GM_COMPATIBLE), 0) << "refused while the transform is not the identity";
    ASSERT_TRUE(ModifyWorldTransform(dc, nullptr, MWT_IDENTITY));
    EXPECT_EQ(SetGraphicsMode(dc, GM_COMPATIBLE), GM_ADVANCED);

    XFORM combined = scale;
    ASSERT_TRUE(CombineTransform(&combined, &combined, &shift)) << "the output may be an input";
    EXPECT_EQ(combined.eM22, 3);
    EXPECT_EQ(combined.eDy, 7);
    EXPECT_FALSE(CombineTransform(nullptr, &scale, &shift));
}

TEST(CoordinateSpace, LayoutAndOverflow) {
    ContextOnBitmap target;
    HDC dc = target.dc;
    EXPECT_EQ(SetLayout(dc, LAYOUT_RTL), 0u);
    EXPECT_EQ(GetMapMode(dc), MM_ISOTROPIC) << "LAYOUT_RTL leaves MM_TEXT";
    EXPECT_EQ(SetLayout(dc, 0x10), GDI_ERROR);
    EXPECT_EQ(GetLayout(dc), DWORD{LAYOUT_RTL});
    EXPECT_EQ(GetLayout(nullptr), GDI_ERROR);

    SetLayout(dc, 0);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportExtEx(dc, 1000, 1000, nullptr);
    POINT points[2] = {{1, 1}, {1000000, 0}};
    EXPECT_FALSE(LPtoDP(dc, points, 2)) << "a device coordinate past 27 bits";
    EXPECT_EQ(points[0].x, 1) << "no point is converted";
    SetViewportExtEx(dc, 1, 1, nullptr);
    SetWindowExtEx(dc, 1000, 1000, nullptr);
    POINT device{1 << 27, 0};
    EXPECT_FALSE(DPtoLP(dc, &device, 1)) << "a logical coordinate past LONG";
    EXPECT_FALSE(LPtoDP(dc, nullptr, 1));
    EXPECT_TRUE(LPtoDP(dc, nullptr, 0));
}

}  // namespace
