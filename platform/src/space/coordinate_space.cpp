#include "space/coordinate_space.h"

#include <cmath>

namespace standin {

Affine FromXform(const XFORM& x) {
    Affine a;
    a.m11 = x.eM11, a.m12 = x.eM12, a.m21 = x.eM21, a.m22 = x.eM22, a.dx = x.eDx, a.dy = x.eDy;
    return a;
}

XFORM ToXform(const Affine& a) {
    return XFORM{static_cast<FLOAT>(a.m11), static_cast<FLOAT>(a.m12), static_cast<FLOAT>(a.m21),
                 static_cast<FLOAT>(a.m22), static_cast<FLOAT>(a.dx),  static_cast<FLOAT>(a.dy)};
}

Affine LogicalToDevice(const CoordinateSpace& space, std::int32_t deviceWidth) {
    Affine map = PageToDevice(space.page);
    if (space.graphicsMode == GM_ADVANCED) map = Then(FromXform(space.world), map);
    if (space.rightToLeft()) {
        Affine mirror;
        mirror.m11 = -1;
        mirror.dx = static_cast<double>(deviceWidth) - 1;
        map = Then(map, mirror);
    }
    return map;
}

Affine EdgesToDevice(const CoordinateSpace& space, std::int32_t deviceWidth) {
    Affine map = LogicalToDevice(space, deviceWidth);
    if (space.rightToLeft()) map.dx += 1;
    return map;
}

bool IsPlainSpace(const CoordinateSpace& space) {
    const PageMapping& p = space.page;
    const bool unitExtents = p.windowExtent.cx == p.viewportExtent.cx && p.windowExtent.cy == p.viewportExtent.cy;
    const bool noOffsets = p.windowOrigin.x == 0 && p.windowOrigin.y == 0 && p.viewportOrigin.x == 0 &&
                           p.viewportOrigin.y == 0;
    const bool noWorld = space.graphicsMode != GM_ADVANCED || FromXform(space.world).identity();
    return unitExtents && noOffsets && noWorld && !space.rightToLeft();
}

bool RoundCoordinate(double v, std::int64_t limit, std::int64_t* out) {
    if (std::isnan(v)) {
        *out = 0;
        return false;
    }
    const double r = std::floor(v + 0.5);
    const double bound = static_cast<double>(limit);
    if (r > bound || r < -bound) {
        *out = r > 0 ? limit : -limit;
        return false;
    }
    *out = static_cast<std::int64_t>(r);
    return true;
}

}  // namespace standin
