#include "stretch_canvas.h"

#include "test_support.h"

#include <cstring>
#include <stdexcept>

namespace stretch_test {
namespace {

using stretch_reference::Rgb;


struct Field {
    int shift = 0;
    int bits = 0;
};

Field FieldOf(std::uint32_t mask) {
    Field f;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++f.shift;
    }
    while (mask & 1u) {
        mask >>= 1;
        ++f.bits;
    }
    return f;
}

std::uint8_t Widen(std::uint32_t value, int bits) {
    std::uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << bits) | value;
        filled += bits;
    }
    return static_cast<std::uint8_t>(out >> (filled - 8));
}

void Masks(const PixelLayout& l, std::uint32_t* red, std::uint32_t* green, std::uint32_t* blue) {
    if (l.bitfields) {
        *red = l.red, *green = l.green, *blue = l.blue;
    } else if (l.bitCount == 16) {
        *red = 0x7C00, *green = 0x03E0, *blue = 0x001F;
    } else {
        *red = 0xFF0000, *green = 0x00FF00, *blue = 0x0000FF;
    }
}

int PaletteIndex(const PixelLayout& l, const Colour& c) {
    for (std::size_t i = 0; i < l.palette.size(); ++i)
        if (l.palette[i].r == c.r && l.palette[i].g == c.g && l.palette[i].b == c.b)
            return static_cast<int>(i);
    return -1;
}

std::uint32_t Pack(const PixelLayout& l, const Colour& c) {
    std::uint32_t masks[3];
    Masks(l, &masks[0], &masks[1], &masks[2]);
    const std::uint8_t channels[3] = {c.r, c.g, c.b};
    std::uint32_t value = 0;
    for (int i = 0; i < 3; ++i) {
        const Field f = FieldOf(masks[i]);
        value |= (std::uint32_t{channels[i]} >> (8 - f.bits)) << f.shift;
    }
    if (l.bitCount == 32 && !l.bitfields) value |= std::uint32_t{c.x} << 24;
    return value;
}

Colour Unpack(const PixelLayout& l, std::uint32_t value) {
    std::uint32_t masks[3];
    Masks(l, &masks[0], &masks[1], &masks[2]);
    std::uint8_t channels[3];
    for (int i = 0; i < 3; ++i) {
        const Field f = FieldOf(masks[i]);
        channels[i] = Widen((value >> f.shift) & ((1u << f.bits) - 1), f.bits);
    }
    Colour c = Rgb(channels[0], channels[1], channels[2]);
    if (l.bitCount == 32 && !l.bitfields) c.x = static_cast<std::uint8_t>(value >> 24);
    return c;
}

std::vector<Colour> CornerColours() {
    std::vector<Colour> colours;
    for (int i = 0; i < 8; ++i)
        colours.push_back(Rgb(i & 4 ? 255 : 0, i & 2 ? 255 : 0, i & 1 ? 255 : 0));
    return colours;
}

PixelLayout Layout(const char* name, int bitCount) {
    PixelLayout l;
    l.name = name;
    l.bitCount = bitCount;
    return l;
}

PixelLayout Bitfields(const char* name, int bitCount, std::uint32_t r, std::uint32_t g,
                      std::uint32_t b) {
    PixelLayout l = Layout(name, bitCount);
    l.bitfields = true;
    l.red = r, l.green = g, l.blue = b;
    return l;
}

}  // namespace

PixelLayout Monochrome() {
    PixelLayout l = Layout("1-bit", 1);
    l.palette = {Rgb(0, 0, 0), Rgb(255, 255, 255)};
    return l;
}

PixelLayout Palette16() {
    PixelLayout l = Layout("4-bit", 4);
    l.palette = CornerColours();
    for (int i = 1; i <= 8; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 28);
        l.palette.push_back(Rgb(v, v, v));
    }
    return l;
}

PixelLayout Palette256() {
    PixelLayout l = Layout("8-bit", 8);
    l.palette = CornerColours();
    for (int i = 8; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        l.palette.push_back(Rgb(v, v, v));
    }
    return l;
}

PixelLayout GreyRamp256() {
    PixelLayout l = Layout("8-bit grey", 8);
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        l.palette.push_back(Rgb(v, v, v));
    }
    return l;
}

PixelLayout Rgb555() { return Layout("16-bit 555", 16); }
PixelLayout Rgb565() { return Bitfields("16-bit 565", 16, 0xF800, 0x07E0, 0x001F); }
PixelLayout Rgb24() { return Layout("24-bit", 24); }
PixelLayout Bgrx32() { return Layout("32-bit", 32); }
PixelLayout Bitfields32() { return Bitfields("32-bit fields", 32, 0xFF0000, 0x00FF00, 0x0000FF); }
PixelLayout Bitfields32Rgb() { return Bitfields("32-bit fields rgb", 32, 0x0000FF, 0x00FF00, 0xFF0000); }

std::vector<PixelLayout> AllLayouts() {
    return {Monochrome(), Palette16(),   Palette256(), Rgb555(),         Rgb565(),
            Rgb24(),      Bgrx32(),      Bitfields32(), Bitfields32Rgb()};
}

bool Representable(const PixelLayout& l, const Colour& c) {
    if (l.bitCount <= 8) return c.x == 0 && PaletteIndex(l, c) >= 0;
    if (l.bitCount == 24 || l.bitfields || l.bitCount == 16) {
        if (c.x != 0) return false;
    }
    if (l.bitCount == 24) return true;
    return Unpack(l, Pack(l, c)) == c;
}

testing_support::BitmapInfoBuffer Canvas::Info() const {
    const PixelLayout& layout = layout_;
    const int width = width_, height = height_;
    const bool topDown = topDown_;
    testing_support::BitmapInfoBuffer info = testing_support::MakeInfo(
        width, topDown ? -height : height, layout.bitCount, layout.bitfields ? BI_BITFIELDS : BI_RGB);
    if (layout.bitfields) {
        const std::uint32_t masks[3] = {layout.red, layout.green, layout.blue};
        std::memcpy(info.colors, masks, sizeof masks);
    }
    info.header.biClrUsed = static_cast<DWORD>(layout.palette.size());
    for (std::size_t i = 0; i < layout.palette.size(); ++i)
        info.colors[i] = RGBQUAD{layout.palette[i].b, layout.palette[i].g, layout.palette[i].r, 0};
    return info;
}

Canvas::Canvas(const PixelLayout& layout, int width, int height, bool topDown)
    : layout_(layout), width_(width), height_(height), topDown_(topDown) {
    testing_support::BitmapInfoBuffer info = Info();
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, info.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    if (bitmap_ == nullptr || dc_ == nullptr) throw std::runtime_error("canvas not made");
    bits_ = static_cast<std::uint8_t*>(bits);
    stride_ = (static_cast<std::size_t>(width) * layout.bitCount + 31) / 32 * 4;
    previous_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

std::uint8_t* Canvas::Row(int y) const {
    const int stored = topDown_ ? y : height_ - 1 - y;
    return bits_ + static_cast<std::size_t>(stored) * stride_;
}

void Canvas::Write(const Picture& picture) {
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = Row(y);
        for (int x = 0; x < width_; ++x) {
            const Colour& c = picture.at(x, y);
            if (!Representable(layout_, c)) throw std::logic_error("colour not representable");
            const int bits = layout_.bitCount;
            if (bits <= 8) {
                const int perByte = 8 / bits;
                const int shift = (perByte - 1 - x % perByte) * bits;
                std::uint8_t& byte = row[x / perByte];
                const unsigned mask = ((1u << bits) - 1) << shift;
                byte = static_cast<std::uint8_t>((byte & ~mask) |
                                                 (unsigned(PaletteIndex(layout_, c)) << shift));
            } else if (bits == 24) {
                row[3 * x] = c.b, row[3 * x + 1] = c.g, row[3 * x + 2] = c.r;
            } else {
                const std::uint32_t v = Pack(layout_, c);
                std::memcpy(row + static_cast<std::size_t>(x) * (bits / 8), &v, bits / 8);
            }
        }
    }
}

Picture Canvas::Read() const {
    Picture picture(width_, height_);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* row = Row(y);
        for (int x = 0; x < width_; ++x) {
            const int bits = layout_.bitCount;
            Colour c;
            if (bits <= 8) {
                const int perByte = 8 / bits;
                const int shift = (perByte - 1 - x % perByte) * bits;
                const unsigned index = (row[x / perByte] >> shift) & ((1u << bits) - 1);
                c = index < layout_.palette.size() ? layout_.palette[index] : Colour{};
            } else if (bits == 24) {
                c = Rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            } else {
                std::uint32_t v = 0;
                std::memcpy(&v, row + static_cast<std::size_t>(x) * (bits / 8), bits / 8);
                c = Unpack(layout_, v);
            }
            picture.at(x, y) = c;
        }
    }
    return picture;
}

std::vector<std::uint8_t> Canvas::RawBytes() const {
    return std::vector<std::uint8_t>(bits_, bits_ + stride_ * static_cast<std::size_t>(height_));
}

Picture RandomPicture(int width, int height, std::mt19937& rng, bool fourthByte) {
    Picture p(width, height);
    std::uniform_int_distribution<int> level(0, 255);
    for (Colour& c : p.pixels) {
        c = Rgb(static_cast<std::uint8_t>(level(rng)), static_cast<std::uint8_t>(level(rng)),
                static_cast<std::uint8_t>(level(rng)));
        if (fourthByte) c.x = static_cast<std::uint8_t>(level(rng));
    }
    return p;
}

}  // namespace stretch_test
