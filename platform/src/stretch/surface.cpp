#include "stretch/surface.h"

#include <cstring>

namespace standin {

Surface::Surface(std::uint8_t* pixels, const DibDescription& dib)
    : pixels_(pixels),
      dib_(&dib),
      origin_(dib.topDown ? 0 : static_cast<std::ptrdiff_t>(dib.height - 1) *
                                    static_cast<std::ptrdiff_t>(dib.stride)),
      step_(dib.topDown ? static_cast<std::ptrdiff_t>(dib.stride)
                        : -static_cast<std::ptrdiff_t>(dib.stride)) {}

Surface Surface::CopyRows(std::int32_t rowBegin, std::int32_t rowEnd,
                          std::vector<std::uint8_t>* storage) const {
    const std::size_t stride = dib_->stride;
    storage->resize(static_cast<std::size_t>(rowEnd - rowBegin) * stride);
    for (std::int32_t y = rowBegin; y < rowEnd; ++y)
        std::memcpy(storage->data() + static_cast<std::size_t>(y - rowBegin) * stride, Row(y),
                    stride);
    Surface copy = *this;
    copy.pixels_ = storage->data();
    copy.step_ = static_cast<std::ptrdiff_t>(stride);
    copy.origin_ = -static_cast<std::ptrdiff_t>(rowBegin) * copy.step_;
    return copy;
}

}  // namespace standin
