// The platform leaves the values to the user's colour scheme and documents
// only the indices; these are the values of a default Windows 10
// installation. Index 25 has no documented colour and is refused.
#include "gdi/system_colors.h"

#include "support/api_boundary.h"
#include "support/last_error.h"

#include <array>
#include <cstdint>

namespace standin {
namespace {

constexpr int kSystemColorCount = COLOR_MENUBAR + 1;
constexpr COLORREF kNoColor = CLR_INVALID;

constexpr std::array<COLORREF, kSystemColorCount> kDefaultColors = {
    RGB(200, 200, 200),  // COLOR_SCROLLBAR
    RGB(0, 0, 0),        // COLOR_BACKGROUND
    RGB(153, 180, 209),  // COLOR_ACTIVECAPTION
    RGB(191, 205, 219),  // COLOR_INACTIVECAPTION
    RGB(240, 240, 240),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(100, 100, 100),  // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(0, 0, 0),        // COLOR_CAPTIONTEXT
    RGB(180, 180, 180),  // COLOR_ACTIVEBORDER
    RGB(244, 247, 252),  // COLOR_INACTIVEBORDER
    RGB(171, 171, 171),  // COLOR_APPWORKSPACE
    RGB(0, 120, 215),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(240, 240, 240),  // COLOR_BTNFACE
    RGB(160, 160, 160),  // COLOR_BTNSHADOW
    RGB(109, 109, 109),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(0, 0, 0),        // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(105, 105, 105),  // COLOR_3DDKSHADOW
    RGB(227, 227, 227),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    kNoColor,            // 25: none
    RGB(0, 102, 204),    // COLOR_HOTLIGHT
    RGB(185, 209, 234),  // COLOR_GRADIENTACTIVECAPTION
    RGB(215, 228, 242),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 120, 215),    // COLOR_MENUHILIGHT
    RGB(240, 240, 240),  // COLOR_MENUBAR
};

bool Known(int index) {
    return index >= 0 && index < kSystemColorCount &&
           kDefaultColors[static_cast<std::size_t>(index)] != kNoColor;
}

// One brush per colour, made on first use and kept for the process, like
// the stock objects (deleting one does nothing).
std::array<HBRUSH, kSystemColorCount>& Brushes() {
    static std::array<HBRUSH, kSystemColorCount> brushes{};
    return brushes;
}

}  // namespace

Brush* SystemColorBrush(int index) {
    if (!Known(index)) return nullptr;
    HBRUSH& handle = Brushes()[static_cast<std::size_t>(index)];
    if (handle == nullptr) {
        auto brush = std::make_unique<Brush>(BS_SOLID, kDefaultColors[static_cast<std::size_t>(index)]);
        brush->stock = true;
        handle = static_cast<HBRUSH>(Objects().Insert(std::move(brush)));
    }
    return Lookup<Brush>(handle);
}

Brush* SystemColorBrushFromValue(HBRUSH value) {
    // Handles of real objects are never this small.
    std::uintptr_t number = reinterpret_cast<std::uintptr_t>(value);
    if (number == 0 || number > kSystemColorCount) return nullptr;
    return SystemColorBrush(static_cast<int>(number) - 1);
}

Brush* FillBrush(HBRUSH value) {
    Brush* brush = Lookup<Brush>(value);
    return brush != nullptr ? brush : SystemColorBrushFromValue(value);
}

}  // namespace standin

using namespace standin;

DWORD WINAPI GetSysColor(int nIndex) {
    return Known(nIndex) ? kDefaultColors[static_cast<std::size_t>(nIndex)] : 0;
}

HBRUSH WINAPI GetSysColorBrush(int nIndex) try {
    ApiLock lock(ApiMutex());
    if (SystemColorBrush(nIndex) == nullptr) return nullptr;
    return Brushes()[static_cast<std::size_t>(nIndex)];
} catch (...) {
    return OutOfMemory<HBRUSH>();
}
