#include "bmp/rle.h"

namespace standin {
namespace bmp {
namespace {

// The file's stream, taken through the reading window.
class WindowStream final : public RleStream {
public:
    explicit WindowStream(WindowReader* reader) : reader_(*reader) {}
    bool Take(std::size_t count, const std::uint8_t** bytes) override {
        ByteSpan span;
        if (!reader_.ReadSpan(count, &span)) return false;
        *bytes = span.data;
        return true;
    }

private:
    WindowReader& reader_;
};

}  // namespace

bool RleStreamMayDeclare(std::uint64_t streamBytes, std::int64_t pixels) {
    // File sizes are capped far below the point where this could overflow.
    return pixels <= kRleFreePixels + kRlePixelsPerStreamByte * static_cast<std::int64_t>(streamBytes);
}

bool DecodeRle(WindowReader* data, RleKind kind, const RleTarget& target) {
    WindowStream stream(data);
    return standin::DecodeRle(&stream, kind, target);
}

}  // namespace bmp
}  // namespace standin
