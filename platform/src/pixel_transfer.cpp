#include "gdi_objects.h"
// Placeholder: filled in next.
int WINAPI GetDIBits(HDC, HBITMAP, UINT, UINT, LPVOID, LPBITMAPINFO, UINT) { return 0; }
int WINAPI SetDIBits(HDC, HBITMAP, UINT, UINT, const VOID*, const BITMAPINFO*, UINT) { return 0; }
