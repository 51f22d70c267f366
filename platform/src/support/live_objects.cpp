// Counts of live GDI objects for the test hooks.
#include "support/object_table.h"

#include <standin/testing.h>

namespace standin {

std::size_t LiveGdiObjects() {
    ApiLock lock(ApiMutex());
    const ObjectTable& table = Objects();
    return table.LiveCount(ObjectKind::DeviceContext) + table.LiveCount(ObjectKind::Bitmap) +
           table.LiveCount(ObjectKind::Pen) + table.LiveCount(ObjectKind::Brush) +
           table.LiveCount(ObjectKind::Palette) + table.LiveCount(ObjectKind::Region);
}

}  // namespace standin
