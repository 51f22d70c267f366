#include "gdi_objects.h"
// Placeholder: filled in next.
int WINAPI FillRect(HDC, const RECT*, HBRUSH) { return 0; }
BOOL WINAPI MoveToEx(HDC, int, int, LPPOINT) { return FALSE; }
BOOL WINAPI LineTo(HDC, int, int) { return FALSE; }
COLORREF WINAPI SetPixel(HDC, int, int, COLORREF) { return CLR_INVALID; }
COLORREF WINAPI GetPixel(HDC, int, int) { return CLR_INVALID; }
