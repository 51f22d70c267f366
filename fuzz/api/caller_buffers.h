// Buffers as a caller lays them out: a BITMAPINFO as long as its header says
// (header, masks, colour table) and pixel rows as many as it declares, so
// that any byte the stand-in touches beyond them is an overrun the
// sanitizers catch.
#ifndef API_FUZZ_CALLER_BUFFERS_H
#define API_FUZZ_CALLER_BUFFERS_H

#include "input.h"

#include <cstdint>
#include <vector>

namespace apifuzz {

// Largest pixel buffer handed to GetDIBits or SetDIBits; a header that
// declares more gets a null buffer instead.
constexpr std::size_t kMaxPixelBuffer = std::size_t{8} << 20;

// A BITMAPINFO with adversarial fields, allocated exactly: a header of up
// to 4096 bytes (the largest the stand-in reads) takes that many bytes; a
// larger one takes only the 40-byte header's room, so a stand-in that
// believed it would reach beyond. A `plausible` one describes a small picture as a
// careful caller would (any depth, either row order, masks that make sense),
// so that the calls it feeds get past their checks.
std::vector<std::uint8_t> MakeBitmapInfo(Input& in, bool plausible);

// The header at the start of a buffer from MakeBitmapInfo, read by copy
// (zeros where the buffer is shorter).
BITMAPINFOHEADER HeaderOf(const std::vector<std::uint8_t>& info);

// Bytes of pixel rows the header declares: |biHeight| rows of biWidth
// pixels at biBitCount bits, each padded to 4 bytes, or a run-length
// stream's biSizeImage; 0 when the header declares nothing sensible or more
// than kMaxPixelBuffer.
std::size_t DeclaredPixelBytes(const BITMAPINFOHEADER& header);

}  // namespace apifuzz

#endif
