#include "pixels/row_codec.h"

#include "support/simd_support.h"

#include <cstring>

namespace standin {
namespace {

std::uint32_t NarrowChannel(std::uint8_t value, const ChannelMask& channel) {
    std::uint32_t v;
    if (channel.bits <= 8) {
        v = value >> (8 - channel.bits);
    } else {
        std::uint32_t max = (channel.bits >= 32) ? 0xFFFFFFFFu : (1u << channel.bits) - 1;
        v = static_cast<std::uint32_t>((std::uint64_t{value} * max + 127) / 255);
    }
    return (v << channel.shift) & channel.mask;
}

// 24-bit rows move four pixels at a time as three 32-bit words. The shifts
// below assume the first byte in memory is the word's lowest; elsewhere
// every pixel takes the byte loop.
constexpr int kPixelsPerWordBlock = 4;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool kWordsLittleEndian = true;
#else
constexpr bool kWordsLittleEndian = false;
#endif

std::uint32_t LoadWord(const std::uint8_t* p) {
    std::uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

void StoreWord(std::uint32_t w, std::uint8_t* p) { std::memcpy(p, &w, sizeof w); }

int WordBlockPixels(int count) {
    return kWordsLittleEndian ? count / kPixelsPerWordBlock * kPixelsPerWordBlock : 0;
}

// Blue, green, red to blue, green, red, 0.
void Widen24To32Words(const std::uint8_t* src, int count, std::uint8_t* out) {
    const int blockEnd = WordBlockPixels(count);
    int i = 0;
    for (; i < blockEnd; i += kPixelsPerWordBlock, src += 12, out += 16) {
        const std::uint32_t a = LoadWord(src), b = LoadWord(src + 4), c = LoadWord(src + 8);
        StoreWord(a & 0xFFFFFFu, out);
        StoreWord((a >> 24) | ((b & 0xFFFFu) << 8), out + 4);
        StoreWord((b >> 16) | ((c & 0xFFu) << 16), out + 8);
        StoreWord(c >> 8, out + 12);
    }
    for (; i < count; ++i, src += 3, out += 4) {
        out[0] = src[0];
        out[1] = src[1];
        out[2] = src[2];
        out[3] = 0;
    }
}

// Blue, green, red, X to blue, green, red.
void Narrow32To24Words(const std::uint8_t* in, int count, std::uint8_t* dst) {
    const int blockEnd = WordBlockPixels(count);
    int i = 0;
    for (; i < blockEnd; i += kPixelsPerWordBlock, in += 16, dst += 12) {
        const std::uint32_t p0 = LoadWord(in), p1 = LoadWord(in + 4);
        const std::uint32_t p2 = LoadWord(in + 8), p3 = LoadWord(in + 12);
        StoreWord((p0 & 0xFFFFFFu) | (p1 << 24), dst);
        StoreWord(((p1 >> 8) & 0xFFFFu) | (p2 << 16), dst + 4);
        StoreWord(((p2 >> 16) & 0xFFu) | (p3 << 8), dst + 8);
    }
    for (; i < count; ++i, dst += 3, in += 4) {
        dst[0] = in[0];
        dst[1] = in[1];
        dst[2] = in[2];
    }
}

#ifdef STANDIN_HAVE_SSSE3
// With SSSE3 a byte shuffle moves sixteen pixels (48 and 64 bytes) per step;
// the rest of a row takes the word loops. Streaming stores need 16-byte
// aligned addresses, which the callers below arrange.
constexpr int kPixelsPerShuffleBlock = 16;
constexpr std::uintptr_t kVectorAlignment = 16;

template <Stores kStores>
STANDIN_SSSE3 inline void Store16(std::uint8_t* to, __m128i value) {
    if constexpr (kStores == Stores::Streaming) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(to), value);
    } else {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), value);
    }
}

template <Stores kStores>
STANDIN_SSSE3 int Widen24To32Shuffled(const std::uint8_t* src, int count, std::uint8_t* out) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const int blockEnd = count / kPixelsPerShuffleBlock * kPixelsPerShuffleBlock;
    for (int i = 0; i < blockEnd; i += kPixelsPerShuffleBlock, src += 48, out += 64) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 32));
        Store16<kStores>(out, _mm_shuffle_epi8(a, spread));
        Store16<kStores>(out + 16, _mm_shuffle_epi8(_mm_alignr_epi8(b, a, 12), spread));
        Store16<kStores>(out + 32, _mm_shuffle_epi8(_mm_alignr_epi8(c, b, 8), spread));
        Store16<kStores>(out + 48, _mm_shuffle_epi8(_mm_srli_si128(c, 4), spread));
    }
    return blockEnd;
}

template <Stores kStores>
STANDIN_SSSE3 int Narrow32To24Shuffled(const std::uint8_t* in, int count, std::uint8_t* dst) {
    const __m128i gather = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const int blockEnd = count / kPixelsPerShuffleBlock * kPixelsPerShuffleBlock;
    for (int i = 0; i < blockEnd; i += kPixelsPerShuffleBlock, in += 64, dst += 48) {
        const __m128i* from = reinterpret_cast<const __m128i*>(in);
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(from), gather);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(from + 1), gather);
        const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(from + 2), gather);
        const __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(from + 3), gather);
        Store16<kStores>(dst, _mm_or_si128(a, _mm_slli_si128(b, 12)));
        Store16<kStores>(dst + 16, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        Store16<kStores>(dst + 32, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    return blockEnd;
}

// How many leading pixels, `outBytes` bytes each, the word loops take so
// that the shuffled ones store to aligned addresses; -1 if no count does
// (a four-byte pixel row that is not itself four-byte aligned).
int PixelsBeforeAlignment(const std::uint8_t* out, int outBytes, int count) {
    const auto misalignment = reinterpret_cast<std::uintptr_t>(out) % kVectorAlignment;
    for (int k = 0; k < kPixelsPerShuffleBlock && k <= count; ++k) {
        if ((misalignment + static_cast<std::uintptr_t>(k) * outBytes) % kVectorAlignment == 0) return k;
    }
    return -1;
}
#else
// Without SSSE3 no block is shuffled.
template <Stores>
int Widen24To32Shuffled(const std::uint8_t*, int, std::uint8_t*) {
    return 0;
}

template <Stores>
int Narrow32To24Shuffled(const std::uint8_t*, int, std::uint8_t*) {
    return 0;
}
#endif

// A row conversion of `InBytes` to `OutBytes` a pixel: the shuffled
// blocks first, with streaming stores once the output reaches an aligned
// address (when asked and possible), then the word loop for the rest.
template <int InBytes, int OutBytes, class Words, class Cached, class Streaming>
void ConvertRow(const std::uint8_t* in, int count, std::uint8_t* out, Stores stores, Words words,
                [[maybe_unused]] Cached cached, [[maybe_unused]] Streaming streaming) {
#ifdef STANDIN_HAVE_SSSE3
    if (HasSsse3()) {
        const int head = stores == Stores::Streaming ? PixelsBeforeAlignment(out, OutBytes, count) : -1;
        int done;
        if (head >= 0) {
            words(in, head, out);
            done = head + streaming(in + head * InBytes, count - head, out + head * OutBytes);
        } else {
            done = cached(in, count, out);
        }
        in += static_cast<std::size_t>(done) * InBytes;
        out += static_cast<std::size_t>(done) * OutBytes;
        count -= done;
    }
#else
    (void)stores;
#endif
    words(in, count, out);
}

void Widen24To32(const std::uint8_t* src, int count, std::uint8_t* out, Stores stores) {
    ConvertRow<3, 4>(src, count, out, stores, Widen24To32Words, Widen24To32Shuffled<Stores::Cached>,
                     Widen24To32Shuffled<Stores::Streaming>);
}

void Narrow32To24(const std::uint8_t* in, int count, std::uint8_t* dst, Stores stores) {
    ConvertRow<4, 3>(in, count, dst, stores, Narrow32To24Words, Narrow32To24Shuffled<Stores::Cached>,
                     Narrow32To24Shuffled<Stores::Streaming>);
}

}  // namespace

RowCodec::RowCodec(const PixelFormat& format, const RGBQUAD* colors, int colorCount)
    : format_(format),
      colors_(colors),
      colorCount_(colorCount),
      matcher_(colors, colorCount),
      red_(format.red),
      green_(format.green),
      blue_(format.blue) {}

void RowCodec::Unpack(const std::uint8_t* row, int x0, int count, std::uint8_t* out, Stores stores) const {
    switch (format_.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = format_.bitCount;
            const int perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int i = 0; i < count; ++i, out += 4) {
                int x = x0 + i;
                int shift = (perByte - 1 - x % perByte) * bits;
                unsigned index = (row[x / perByte] >> shift) & mask;
                // Tables shorter than the index range leave the rest black.
                RGBQUAD c = static_cast<int>(index) < colorCount_ ? colors_[index] : RGBQUAD{0, 0, 0, 0};
                out[0] = c.rgbBlue;
                out[1] = c.rgbGreen;
                out[2] = c.rgbRed;
                out[3] = 0;
            }
            return;
        }
        case 24:
            Widen24To32(row + static_cast<std::size_t>(x0) * 3, count, out, stores);
            return;
        case 32:
            if (!format_.bitfields) {
                std::memcpy(out, row + static_cast<std::size_t>(x0) * 4,
                            static_cast<std::size_t>(count) * 4);
                return;
            }
            for (int i = 0; i < count; ++i, out += 4) {
                std::uint32_t px;
                std::memcpy(&px, row + static_cast<std::size_t>(x0 + i) * 4, 4);
                out[0] = blue_(px);
                out[1] = green_(px);
                out[2] = red_(px);
                out[3] = 0;
            }
            return;
        case 16:
            for (int i = 0; i < count; ++i, out += 4) {
                const std::uint8_t* p = row + static_cast<std::size_t>(x0 + i) * 2;
                std::uint32_t px = p[0] | (std::uint32_t{p[1]} << 8);
                out[0] = blue_(px);
                out[1] = green_(px);
                out[2] = red_(px);
                out[3] = 0;
            }
            return;
    }
}

std::uint32_t RowCodec::PackChannels(const std::uint8_t* px) const {
    return NarrowChannel(px[0], format_.blue) | NarrowChannel(px[1], format_.green) |
           NarrowChannel(px[2], format_.red);
}

void RowCodec::Pack(const std::uint8_t* in, int x0, int count, std::uint8_t* row, Stores stores) {
    switch (format_.bitCount) {
        case 1:
        case 4:
        case 8: {
            const int bits = format_.bitCount;
            const int perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int i = 0; i < count; ++i, in += 4) {
                int x = x0 + i;
                int shift = (perByte - 1 - x % perByte) * bits;
                unsigned index = matcher_.Nearest(in[0], in[1], in[2]);
                std::uint8_t& byte = row[x / perByte];
                byte = static_cast<std::uint8_t>((byte & ~(mask << shift)) | (index << shift));
            }
            return;
        }
        case 24:
            Narrow32To24(in, count, row + static_cast<std::size_t>(x0) * 3, stores);
            return;
        case 32:
            if (!format_.bitfields) {
                std::memcpy(row + static_cast<std::size_t>(x0) * 4, in,
                            static_cast<std::size_t>(count) * 4);
                return;
            }
            for (int i = 0; i < count; ++i, in += 4) {
                std::uint32_t px = PackChannels(in);
                std::memcpy(row + static_cast<std::size_t>(x0 + i) * 4, &px, 4);
            }
            return;
        case 16:
            for (int i = 0; i < count; ++i, in += 4) {
                std::uint32_t px = PackChannels(in);
                std::uint8_t* p = row + static_cast<std::size_t>(x0 + i) * 2;
                p[0] = static_cast<std::uint8_t>(px);
                p[1] = static_cast<std::uint8_t>(px >> 8);
            }
            return;
    }
}

}  // namespace standin
