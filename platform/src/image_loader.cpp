#include "gdi_objects.h"
// Placeholder: filled in next.
HANDLE WINAPI LoadImageA(HINSTANCE, LPCSTR, UINT, int, int, UINT) { return nullptr; }
