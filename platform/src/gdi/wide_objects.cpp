// GetObjectW. Bitmaps, pens, brushes and palettes are described by the same
// records in both forms, since none of them holds a string; only a font's
// record (LOGFONTW) differs, and the stand-in makes no fonts, so a font
// handle is as invalid here as in GetObjectA.
#include <windows.h>

int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv) { return GetObjectA(h, c, pv); }
