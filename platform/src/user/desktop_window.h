// The desktop window: the one window handle there is. There are no other
// windows, so every other handle names none.
#ifndef STANDIN_DESKTOP_WINDOW_H
#define STANDIN_DESKTOP_WINDOW_H

#include "gdi/screen.h"

#include <windows.h>

#include <cstdint>

namespace standin {

// The platform's usual value for it. The object table never hands out a
// handle below 2^20 (those would have generation 0), so no GDI object or
// file is ever mistaken for it, nor it for one.
inline HWND DesktopWindow() { return reinterpret_cast<HWND>(std::uintptr_t{0x10010}); }

inline bool IsDesktop(HWND window) { return window == DesktopWindow(); }

// Its window and client rectangles alike: the whole screen.
constexpr RECT kScreenRect = {0, 0, kScreenWidth, kScreenHeight};

}  // namespace standin

#endif
