// GetSystemMetrics and GetDialogBaseUnits.
//
// The screen's sizes come from gdi/screen.h, so they agree with
// GetDeviceCaps and GetClientRect of the desktop. One monitor makes up the
// whole virtual screen, and with no taskbar the work area is the whole
// screen. Window parts (frames, captions, scroll bars, icons) have the
// sizes Windows 10 gives them at 96 dpi. There is no mouse, pen or touch
// input, so those metrics say none; an index the platform does not define
// gives 0, as it does there.
#include "gdi/screen.h"

#include <windows.h>

namespace standin {
namespace {

constexpr int kCaption = 23;       // SM_CYCAPTION
constexpr int kSizingFrame = 4;    // SM_CXFRAME, SM_CYFRAME
constexpr int kPaddedBorder = 4;   // SM_CXPADDEDBORDER
// A maximised window's frame lies just off the screen on every side.
constexpr int kMaximisedOverhang = 2 * (kSizingFrame + kPaddedBorder);

struct Metric {
    int index;
    int value;
};

constexpr Metric kMetrics[] = {
    {SM_CXSCREEN, kScreenWidth},
    {SM_CYSCREEN, kScreenHeight},
    {SM_XVIRTUALSCREEN, 0},
    {SM_YVIRTUALSCREEN, 0},
    {SM_CXVIRTUALSCREEN, kScreenWidth},
    {SM_CYVIRTUALSCREEN, kScreenHeight},
    {SM_CMONITORS, 1},
    {SM_SAMEDISPLAYFORMAT, 1},
    {SM_CXFULLSCREEN, kScreenWidth},
    {SM_CYFULLSCREEN, kScreenHeight - kCaption},
    {SM_CXMAXIMIZED, kScreenWidth + kMaximisedOverhang},
    {SM_CYMAXIMIZED, kScreenHeight + kMaximisedOverhang},
    {SM_CXMAXTRACK, kScreenWidth + kMaximisedOverhang},
    {SM_CYMAXTRACK, kScreenHeight + kMaximisedOverhang},
    {SM_CXMIN, 136},
    {SM_CYMIN, 39},
    {SM_CXMINTRACK, 136},
    {SM_CYMINTRACK, 39},
    {SM_CXMINIMIZED, 160},
    {SM_CYMINIMIZED, 28},
    {SM_CXMINSPACING, 160},
    {SM_CYMINSPACING, 28},
    {SM_ARRANGE, 8},  // ARW_HIDE: minimised windows are hidden
    {SM_CYCAPTION, kCaption},
    {SM_CYSMCAPTION, kCaption},
    {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},
    {SM_CXEDGE, 2},
    {SM_CYEDGE, 2},
    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},
    {SM_CXFRAME, kSizingFrame},
    {SM_CYFRAME, kSizingFrame},
    {SM_CXPADDEDBORDER, kPaddedBorder},
    {SM_CXFOCUSBORDER, 1},
    {SM_CYFOCUSBORDER, 1},
    {SM_CXSIZE, 36},
    {SM_CYSIZE, 22},
    {SM_CXSMSIZE, 22},
    {SM_CYSMSIZE, 22},
    {SM_CYMENU, 20},
    {SM_CXMENUSIZE, 19},
    {SM_CYMENUSIZE, 19},
    {SM_CXMENUCHECK, 15},
    {SM_CYMENUCHECK, 15},
    {SM_CXVSCROLL, 17},
    {SM_CYVSCROLL, 17},
    {SM_CXHSCROLL, 17},
    {SM_CYHSCROLL, 17},
    {SM_CYVTHUMB, 17},
    {SM_CXHTHUMB, 17},
    {SM_CXICON, 32},
    {SM_CYICON, 32},
    {SM_CXSMICON, 16},
    {SM_CYSMICON, 16},
    {SM_CXICONSPACING, 75},
    {SM_CYICONSPACING, 75},
    {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},
    {SM_CXDOUBLECLK, 4},
    {SM_CYDOUBLECLK, 4},
    {SM_CXDRAG, 4},
    {SM_CYDRAG, 4},
    {SM_MOUSEPRESENT, 0},
    {SM_CMOUSEBUTTONS, 0},
    {SM_MOUSEWHEELPRESENT, 0},
    {SM_MOUSEHORIZONTALWHEELPRESENT, 0},
    {SM_SWAPBUTTON, 0},
    {SM_DIGITIZER, 0},
    {SM_MAXIMUMTOUCHES, 0},
    {SM_TABLETPC, 0},
    {SM_CARETBLINKINGENABLED, 1},
    // A desktop, not a tablet: nonzero means "not in slate mode".
    {SM_CONVERTIBLESLATEMODE, 1},
};

}  // namespace
}  // namespace standin

using namespace standin;

int WINAPI GetSystemMetrics(int nIndex) {
    for (const Metric& metric : kMetrics) {
        if (metric.index == nIndex) return metric.value;
    }
    return 0;
}

// The system font's average character width (8) in the low word and its
// height (16) in the high word, as at 96 dpi.
LONG WINAPI GetDialogBaseUnits(void) { return LONG{16} << 16 | 8; }
