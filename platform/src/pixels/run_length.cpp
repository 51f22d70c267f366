#include "pixels/run_length.h"

#include <cstring>

namespace standin {
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
    RleDecoder(RleStream* stream, RleKind kind, const RleTarget& target)
        : stream_(*stream), kind_(kind), target_(target) {}

    bool Decode() {
        for (;;) {
            std::uint8_t count, code;
            if (!ReadU8(&count)) return PictureComplete();
            if (count > 0) {
                if (!EncodedRun(count)) return false;
                continue;
            }
            if (!ReadU8(&code)) return PictureComplete();
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
    bool ReadU8(std::uint8_t* out) {
        const std::uint8_t* byte;
        if (!stream_.Take(1, &byte)) return false;
        *out = *byte;
        return true;
    }

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
        return ReadU8(&dx) && ReadU8(&dy) &&
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
        const std::uint8_t* value;
        if (!stream_.Take(kind_ == RleKind::Rle24 ? 3 : 1, &value) || !Visible(count, &count)) return false;
        std::uint8_t* row = Row();
        switch (kind_) {
            case RleKind::Rle8:
                std::memset(row + x_, value[0], static_cast<std::size_t>(count));
                break;
            case RleKind::Rle4:
                for (int i = 0; i < count; ++i)
                    SetNibble(row, x_ + i, i % 2 == 0 ? value[0] >> 4 : value[0] & 0x0F);
                break;
            case RleKind::Rle24:
                for (int i = 0; i < count; ++i)
                    std::memcpy(row + static_cast<std::size_t>(x_ + i) * 3, value, 3);
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
        const std::uint8_t* src;
        const std::uint8_t* padding;
        if (!stream_.Take(bytes, &src) || !stream_.Take(bytes % 2, &padding) || !Visible(count, &count))
            return false;
        std::uint8_t* row = Row();
        switch (kind_) {
            case RleKind::Rle8:
                std::memcpy(row + x_, src, static_cast<std::size_t>(count));
                break;
            case RleKind::Rle4:
                for (int i = 0; i < count; ++i) {
                    std::uint8_t byte = src[i / 2];
                    SetNibble(row, x_ + i, i % 2 == 0 ? byte >> 4 : byte & 0x0F);
                }
                break;
            case RleKind::Rle24:
                std::memcpy(row + static_cast<std::size_t>(x_) * 3, src, static_cast<std::size_t>(count) * 3);
                break;
        }
        x_ += count;
        return true;
    }

    RleStream& stream_;
    RleKind kind_;
    RleTarget target_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

}  // namespace

bool DecodeRle(RleStream* stream, RleKind kind, const RleTarget& target) {
    return RleDecoder(stream, kind, target).Decode();
}

}  // namespace standin
