#include "gdi/cosmetic_line.h"

#include <algorithm>
#include <cstdlib>

namespace standin {
namespace {

// Smallest integer not below n / d, for d > 0.
__int128 CeilDiv(__int128 n, __int128 d) {
    __int128 q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

}  // namespace

std::int64_t LineSteps(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    return std::max(std::llabs(x1 - x0), std::llabs(y1 - y0));
}

LineWalk PlanLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                  std::int64_t width, std::int64_t height) {
    LineWalk walk;
    std::int64_t dx = x1 - x0, dy = y1 - y0;
    walk.xMajor = std::llabs(dx) >= std::llabs(dy);
    std::int64_t majorDelta = walk.xMajor ? dx : dy;
    std::int64_t minorDelta = walk.xMajor ? dy : dx;
    std::int64_t major = std::llabs(majorDelta);
    if (major == 0) return walk;  // start equals end: nothing drawn
    walk.majorStep = majorDelta > 0 ? 1 : -1;
    walk.majorStart = walk.xMajor ? x0 : y0;
    walk.minorStart = walk.xMajor ? y0 : x0;
    std::int64_t limit = walk.xMajor ? width : height;
    // Steps whose major coordinate lies in [0, limit).
    if (walk.majorStep > 0) {
        walk.first = std::max<std::int64_t>(0, -walk.majorStart);
        walk.last = std::min<std::int64_t>(major - 1, limit - 1 - walk.majorStart);
    } else {
        walk.first = std::max<std::int64_t>(0, walk.majorStart - (limit - 1));
        walk.last = std::min<std::int64_t>(major - 1, walk.majorStart);
    }
    if (walk.first > walk.last) return walk;
    // The minor offset at step i is minorDelta * i / major rounded to
    // nearest with halves down: ceil((2 * minorDelta * i - major) / (2 * major)).
    // Coordinates span 2^33, so the first product needs 128 bits; later
    // steps move the remainder by at most one denominator.
    walk.twiceMinorDelta = 2 * minorDelta;
    walk.twiceMajor = 2 * major;
    __int128 numerator = static_cast<__int128>(walk.twiceMinorDelta) * walk.first - major;
    __int128 offset = CeilDiv(numerator, walk.twiceMajor);
    walk.offset = static_cast<std::int64_t>(offset);
    walk.remainder = static_cast<std::int64_t>(offset * walk.twiceMajor - numerator);
    return walk;
}

}  // namespace standin
