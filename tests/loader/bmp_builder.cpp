#include "bmp_builder.h"

#include <algorithm>

namespace bmp_builder {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::int32_t kPixelsPerMeter = 2835;

void U8(Bytes* out, std::uint32_t v) { out->push_back(static_cast<std::uint8_t>(v)); }
void U16(Bytes* out, std::uint32_t v) {
    U8(out, v);
    U8(out, v >> 8);
}
void U32(Bytes* out, std::uint32_t v) {
    U16(out, v);
    U16(out, v >> 16);
}

Bytes BitmapHeader(const BmpParts& p) {
    Bytes h;
    U32(&h, p.headerSize);
    if (p.headerSize == 12) {
        U16(&h, static_cast<std::uint32_t>(p.width));
        U16(&h, static_cast<std::uint32_t>(p.height));
        U16(&h, p.planes);
        U16(&h, p.bitCount);
        return h;
    }
    U32(&h, static_cast<std::uint32_t>(p.width));
    U32(&h, static_cast<std::uint32_t>(p.height));
    U16(&h, p.planes);
    U16(&h, p.bitCount);
    if (p.headerSize >= 40) {
        U32(&h, p.compression);
        U32(&h, p.sizeImage);
        U32(&h, kPixelsPerMeter);
        U32(&h, kPixelsPerMeter);
        U32(&h, p.clrUsed);
        U32(&h, 0);
    }
    if (p.headerSize >= 52)
        for (int i = 0; i < 3; ++i) U32(&h, p.headerMasks[i]);
    if (p.headerSize >= 56) U32(&h, p.headerMasks[3]);
    h.resize(std::max<std::size_t>(h.size(), p.headerSize), 0);
    h.resize(p.headerSize);
    return h;
}

std::size_t Stride(int width, int bitCount) {
    return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
}

std::uint32_t ScaleInto(std::uint8_t value, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    const std::uint64_t max = mask >> shift;
    return static_cast<std::uint32_t>((value * max + 127) / 255) << shift;
}

int SourceRow(const Sample& sample, int storedRow, bool topDown) {
    return topDown ? storedRow : sample.height - 1 - storedRow;
}

}  // namespace

Bytes BuildBmp(const BmpParts& p) {
    Bytes tables;
    for (std::uint32_t mask : p.masksAfterHeader) U32(&tables, mask);
    for (const RGBQUAD& c : p.palette) {
        U8(&tables, c.rgbBlue);
        U8(&tables, c.rgbGreen);
        U8(&tables, c.rgbRed);
        if (p.headerSize != 12) U8(&tables, c.rgbReserved);
    }
    const Bytes header = BitmapHeader(p);
    const std::int64_t offBits =
        kFileHeaderBytes + header.size() + tables.size() + p.gap.size() + p.offBitsDelta;
    const std::size_t total = kFileHeaderBytes + header.size() + tables.size() + p.gap.size() + p.pixels.size();
    Bytes file;
    U16(&file, 0x4D42);
    U32(&file, static_cast<std::uint32_t>(total));
    U32(&file, 0);
    U32(&file, static_cast<std::uint32_t>(offBits));
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), tables.begin(), tables.end());
    file.insert(file.end(), p.gap.begin(), p.gap.end());
    file.insert(file.end(), p.pixels.begin(), p.pixels.end());
    return file;
}

Sample RandomSample(std::mt19937* random, int width, int height, int colours, bool cubeCorners) {
    Sample sample;
    sample.width = width;
    sample.height = height;
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < colours; ++i) {
        if (cubeCorners) {
            const auto corner = [i](int bit) { return static_cast<BYTE>((i >> bit) & 1 ? 255 : 0); };
            sample.palette.push_back(RGBQUAD{corner(0), corner(1), corner(2), 0});
        } else {
            sample.palette.push_back(RGBQUAD{static_cast<BYTE>(byte(*random)), static_cast<BYTE>(byte(*random)),
                                             static_cast<BYTE>(byte(*random)), 0});
        }
    }
    std::uniform_int_distribution<int> index(0, colours - 1);
    std::uniform_int_distribution<int> runLength(1, 4);
    while (sample.indices.size() < static_cast<std::size_t>(width) * height) {
        const std::uint8_t value = static_cast<std::uint8_t>(index(*random));
        for (int n = runLength(*random); n > 0; --n) sample.indices.push_back(value);
    }
    sample.indices.resize(static_cast<std::size_t>(width) * height);
    return sample;
}

Bytes IndexedRows(const Sample& sample, int bitCount, bool topDown) {
    const std::size_t stride = Stride(sample.width, bitCount);
    Bytes rows(stride * static_cast<std::size_t>(sample.height), 0);
    const int perByte = 8 / bitCount;
    for (int stored = 0; stored < sample.height; ++stored) {
        std::uint8_t* row = rows.data() + stride * static_cast<std::size_t>(stored);
        const int y = SourceRow(sample, stored, topDown);
        for (int x = 0; x < sample.width; ++x) {
            const int shift = (perByte - 1 - x % perByte) * bitCount;
            row[x / perByte] = static_cast<std::uint8_t>(row[x / perByte] | (sample.IndexAt(x, y) << shift));
        }
    }
    return rows;
}

Bytes DirectRows(const Sample& sample, int bytesPerPixel, const std::uint32_t masks[4], bool topDown) {
    const std::size_t stride = Stride(sample.width, bytesPerPixel * 8);
    Bytes rows(stride * static_cast<std::size_t>(sample.height), 0);
    for (int stored = 0; stored < sample.height; ++stored) {
        std::uint8_t* px = rows.data() + stride * static_cast<std::size_t>(stored);
        const int y = SourceRow(sample, stored, topDown);
        for (int x = 0; x < sample.width; ++x, px += bytesPerPixel) {
            const RGBQUAD& c = sample.At(x, y);
            if (bytesPerPixel == 3) {
                px[0] = c.rgbBlue;
                px[1] = c.rgbGreen;
                px[2] = c.rgbRed;
                continue;
            }
            const std::uint32_t value = ScaleInto(c.rgbRed, masks[0]) | ScaleInto(c.rgbGreen, masks[1]) |
                                        ScaleInto(c.rgbBlue, masks[2]) | masks[3];
            for (int b = 0; b < bytesPerPixel; ++b) px[b] = static_cast<std::uint8_t>(value >> (8 * b));
        }
    }
    return rows;
}

Bytes Rgba64Rows(const Sample& sample) {
    Bytes rows;
    const auto linear = [](std::uint8_t v) { return v == 255 ? 8192u : v == 0 ? 0u : 4096u; };
    for (int y = sample.height - 1; y >= 0; --y) {
        for (int x = 0; x < sample.width; ++x) {
            const RGBQUAD& c = sample.At(x, y);
            U16(&rows, linear(c.rgbBlue));
            U16(&rows, linear(c.rgbGreen));
            U16(&rows, linear(c.rgbRed));
            U16(&rows, 8192);
        }
    }
    return rows;
}

namespace {

void PixelValue(const Sample& sample, RleKind kind, int x, int y, Bytes* out) {
    const std::uint8_t index = sample.IndexAt(x, y);
    const RGBQUAD& c = sample.At(x, y);
    switch (kind) {
        case RleKind::Rle8: U8(out, index); break;
        case RleKind::Rle4: U8(out, static_cast<std::uint32_t>(index << 4 | index)); break;
        case RleKind::Rle24: U8(out, c.rgbBlue); U8(out, c.rgbGreen); U8(out, c.rgbRed); break;
    }
}

void EncodedRuns(const Sample& sample, RleKind kind, int y, Bytes* out) {
    for (int x = 0; x < sample.width;) {
        int n = 1;
        while (x + n < sample.width && n < 255 && sample.IndexAt(x + n, y) == sample.IndexAt(x, y)) ++n;
        U8(out, static_cast<std::uint32_t>(n));
        PixelValue(sample, kind, x, y, out);
        x += n;
    }
}

void AbsoluteRun(const Sample& sample, RleKind kind, int y, int x, int n, Bytes* out) {
    U8(out, 0);
    U8(out, static_cast<std::uint32_t>(n));
    Bytes run;
    for (int i = 0; i < n; ++i) {
        if (kind == RleKind::Rle4) {
            if (i % 2 == 0) run.push_back(static_cast<std::uint8_t>(sample.IndexAt(x + i, y) << 4));
            else run.back() = static_cast<std::uint8_t>(run.back() | sample.IndexAt(x + i, y));
        } else if (kind == RleKind::Rle8) {
            run.push_back(sample.IndexAt(x + i, y));
        } else {
            PixelValue(sample, kind, x + i, y, &run);
        }
    }
    if (run.size() % 2 != 0) run.push_back(0);
    out->insert(out->end(), run.begin(), run.end());
}

void AbsoluteRuns(const Sample& sample, RleKind kind, int y, Bytes* out) {
    for (int x = 0; x < sample.width;) {
        const int n = std::min(sample.width - x, 255);
        if (n < 3) {  // absolute runs are 3 pixels or more
            U8(out, 1);
            PixelValue(sample, kind, x, y, out);
            ++x;
            continue;
        }
        AbsoluteRun(sample, kind, y, x, n, out);
        x += n;
    }
}

}  // namespace

Bytes RleStream(const Sample& sample, RleKind kind) {
    Bytes stream;
    for (int y = sample.height - 1; y >= 0; --y) {
        if (y % 2 == 0) EncodedRuns(sample, kind, y, &stream);
        else AbsoluteRuns(sample, kind, y, &stream);
        if (y > 0) {
            U8(&stream, 0);
            U8(&stream, 0);
        }
    }
    U8(&stream, 0);
    U8(&stream, 1);
    return stream;
}

}  // namespace bmp_builder
