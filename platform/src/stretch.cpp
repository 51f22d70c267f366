#include "gdi_objects.h"
// Placeholder: filled in next.
BOOL WINAPI StretchBlt(HDC, int, int, int, int, HDC, int, int, int, int, DWORD) { return FALSE; }
BOOL WINAPI BitBlt(HDC, int, int, int, int, HDC, int, int, DWORD) { return FALSE; }
