// The GDI object behind an HRGN: a region in device units.
#ifndef STANDIN_REGION_OBJECT_H
#define STANDIN_REGION_OBJECT_H

#include "region/band_region.h"
#include "support/object_table.h"

namespace standin {

struct Region : Object {
    static constexpr ObjectKind kKind = ObjectKind::Region;
    Region() : Object(kKind) {}
    explicit Region(BandRegion s) : Object(kKind), shape(std::move(s)) {}
    BandRegion shape;
};

}  // namespace standin

#endif
