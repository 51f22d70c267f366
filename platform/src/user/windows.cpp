// Calls that take a window. There are no windows: the desktop's handle is
// the only one, and its window and client rectangles are the screen. Every
// other handle fails with ERROR_INVALID_WINDOW_HANDLE.
#include "user/desktop_window.h"

#include "support/last_error.h"

using namespace standin;

HWND WINAPI GetDesktopWindow(void) { return DesktopWindow(); }

// Painting answers a WM_PAINT sent to one of the caller's own windows, and
// the caller has none (the desktop is the system's).
HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    (void)hWnd;
    if (lpPaint != nullptr) *lpPaint = PAINTSTRUCT{};
    return Fail<HDC>(ERROR_INVALID_WINDOW_HANDLE);
}

// Documented to succeed always; no BeginPaint ever gave a context to end.
BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    (void)hWnd;
    (void)lpPaint;
    return TRUE;
}

static BOOL ScreenRect(HWND window, LPRECT rect) {
    if (!IsDesktop(window)) return Fail<BOOL>(ERROR_INVALID_WINDOW_HANDLE);
    if (rect == nullptr) return Fail<BOOL>(ERROR_INVALID_PARAMETER);
    *rect = kScreenRect;
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) { return ScreenRect(hWnd, lpRect); }

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) { return ScreenRect(hWnd, lpRect); }

// A null window asks for every window to be redrawn, and the desktop has
// nothing drawn on it here: both succeed with nothing to do.
BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    (void)lpRect;
    (void)bErase;
    if (hWnd != nullptr && !IsDesktop(hWnd)) return Fail<BOOL>(ERROR_INVALID_WINDOW_HANDLE);
    return TRUE;
}
