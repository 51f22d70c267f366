// The one screen every device context, capability and system metric here
// describes. There is no display: these are stated values, chosen to be an
// ordinary desktop's, and everything that reports the screen reads them
// from here so that no two answers disagree.
#ifndef STANDIN_SCREEN_H
#define STANDIN_SCREEN_H

namespace standin {

constexpr int kScreenWidth = 1920;    // pixels
constexpr int kScreenHeight = 1080;   // pixels
constexpr int kScreenBitCount = 32;   // bits per pixel, one plane
constexpr int kScreenDpi = 96;        // logical pixels per inch, both axes
constexpr int kScreenRefreshHz = 60;  // vertical refresh

// The physical size that the resolution implies at kScreenDpi, rounded
// to whole millimetres: 508 x 286.
constexpr int MillimetresAcross(int pixels) { return (pixels * 254 + kScreenDpi * 5) / (kScreenDpi * 10); }
constexpr int kScreenWidthMm = MillimetresAcross(kScreenWidth);
constexpr int kScreenHeightMm = MillimetresAcross(kScreenHeight);
static_assert(kScreenWidthMm == 508 && kScreenHeightMm == 286, "1920 x 1080 at 96 dpi");

}  // namespace standin

#endif
