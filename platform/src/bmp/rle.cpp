#include "bmp/rle.h"

#include <cstring>

namespace standin {
namespace bmp {
namespace {

// Codes that follow a zero count byte; larger codes start absolute runs.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

void SetNibble(std::uint8_t* row, std::int32_t x, std::uint8_t value) {
    std::uint8_t& byte = row[x / 2];
    byte = (x % 2 == 0) ? static_cast<std::uint8_t>((byte & 0x0F) | (value << 4))
                        : static_cast<std::uint8_t>((byte & 0xF0) | (value & 0x0F));
}

class RleDecoder {
public:
    RleDecoder(WindowReader* data, RleKind kind, const RleTarget& target)
        : reader_(*data), kind_(kind), target_(target) {}

    bool Decode() {
        for (;;) {
            std::uint8_t count, code;
            if (!reader_.ReadU8(&count)) return PictureComplete();
            if (count > 0) {
                if (!EncodedRun(count)) return false;
                continue;
            }
            if (!reader_.ReadU8(&code)) return PictureComplete();
            switch (code) {
                case kEndOfLine:
                    if (!MoveTo(0, std::int64_t{y_} + 1)) return false;
                    break;
                case kEndOfBitmap:
                    return true;
                case kDelta:
                    if (!Delta()) return false;
                    break;
                default:
                    if (!AbsoluteRun(code)) return false;
            }
        }
    }

private:
    // A stream may stop without an end-of-bitmap code once every row is
    // done; stopping earlier means the file was cut short.
    bool PictureComplete() const { return y_ >= target_.height; }

    // Positions up to just past the last pixel of a row, and the row just
    // past the top, are reachable; nothing is drawn there.
    bool MoveTo(std::int64_t x, std::int64_t y) {
        if (x > target_.width || y > target_.height) return false;
        x_ = static_cast<std::int32_t>(x);
        y_ = static_cast<std::int32_t>(y);
        return true;
    }

    bool Delta() {
        std::uint8_t dx, dy;
        return reader_.ReadU8(&dx) && reader_.ReadU8(&dy) &&
               MoveTo(std::int64_t{x_} + dx, std::int64_t{y_} + dy);
    }

    // How many of `count` pixels from the current position are drawn. A run
    // may reach past the end of its row: the pixels that fit are kept and
    // the rest dropped, as the platform does. ImageMagick's RLE8 writer
    // (BMP3: and BMP:, the default for 8-bit palettes) needs this: it codes
    // each row's padding bytes as pixels, up to 3 past the row end. Runs
    // above the last row are still refused.
    bool Visible(int count, int* drawn) const {
        if (y_ >= target_.height) return false;
        *drawn = count < target_.width - x_ ? count : target_.width - x_;
        return true;
    }

    std::uint8_t* Row() const {
        return target_.pixels + static_cast<std::size_t>(y_) * target_.stride;
    }

    // `count` pixels of one value (RLE4: two alternating nibbles).
    bool EncodedRun(int count) {
        ByteSpan value;
        if (!reader_.ReadSpan(kind_ == RleKind::Rle24 ? 3 : 1, &value) || !Visible(count, &count)) return false;
        std::uint8_t* row = Row();
        switch (kind_) {
            case RleKind::Rle8:
                std::memset(row + x_, value.data[0], static_cast<std::size_t>(count));
                break;
            case RleKind::Rle4:
                for (int i = 0; i < count; ++i)
                    SetNibble(row, x_ + i, i % 2 == 0 ? value.data[0] >> 4 : value.data[0] & 0x0F);
                break;
            case RleKind::Rle24:
                for (int i = 0; i < count; ++i)
                    std::memcpy(row + static_cast<std::size_t>(x_ + i) * 3, value.data, 3);
                break;
        }
        x_ += count;
        return true;
    }

    std::size_t AbsoluteBytes(int count) const {
        switch (kind_) {
            case RleKind::Rle8: return static_cast<std::size_t>(count);
            case RleKind::Rle4: return static_cast<std::size_t>(count + 1) / 2;
            case RleKind::Rle24: return static_cast<std::size_t>(count) * 3;
        }
        return 0;
    }

    // `count` pixels given one by one, padded to an even number of bytes.
    bool AbsoluteRun(int count) {
        const std::size_t bytes = AbsoluteBytes(count);
        ByteSpan src;
        if (!reader_.ReadSpan(bytes, &src) || !reader_.Skip(bytes % 2) || !Visible(count, &count)) return false;
        std::uint8_t* row = Row();
        switch (kind_) {
            case RleKind::Rle8:
                std::memcpy(row + x_, src.data, static_cast<std::size_t>(count));
                break;
            case RleKind::Rle4:
                for (int i = 0; i < count; ++i) {
                    std::uint8_t byte = src.data[i / 2];
                    SetNibble(row, x_ + i, i % 2 == 0 ? byte >> 4 : byte & 0x0F);
                }
                break;
            case RleKind::Rle24:
                std::memcpy(row + static_cast<std::size_t>(x_) * 3, src.data, static_cast<std::size_t>(count) * 3);
                break;
        }
        x_ += count;
        return true;
    }

    WindowReader& reader_;
    RleKind kind_;
    RleTarget target_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

}  // namespace

bool RleStreamMayDeclare(std::uint64_t streamBytes, std::int64_t pixels) {
    // File sizes are capped far below the point where this could overflow.
    return pixels <= kRleFreePixels + kRlePixelsPerStreamByte * static_cast<std::int64_t>(streamBytes);
}

bool DecodeRle(WindowReader* data, RleKind kind, const RleTarget& target) {
    return RleDecoder(data, kind, target).Decode();
}

}  // namespace bmp
}  // namespace standin
