// Rows of a device-independent bitmap addressed from the top, whatever the
// order they are stored in.
#ifndef STANDIN_STRETCH_SURFACE_H
#define STANDIN_STRETCH_SURFACE_H

#include "pixels/pixel_format.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace standin {

// Rows of a device-independent bitmap, counted from the top whatever the
// storage order; or of a private copy of some of them.
class Surface {
public:
    Surface(std::uint8_t* pixels, const DibDescription& dib);

    const DibDescription& dib() const { return *dib_; }
    std::uint8_t* Row(std::int32_t y) const {
        return pixels_ + (origin_ + static_cast<std::ptrdiff_t>(y) * step_);
    }
    // A surface reading rows [rowBegin, rowEnd) from a copy held in `storage`,
    // for stretches whose source and destination are one bitmap.
    Surface CopyRows(std::int32_t rowBegin, std::int32_t rowEnd,
                     std::vector<std::uint8_t>* storage) const;

private:
    std::uint8_t* pixels_;
    const DibDescription* dib_;
    std::ptrdiff_t origin_;  // byte offset of row 0
    std::ptrdiff_t step_;    // bytes from one row to the next one down
};

}  // namespace standin

#endif
