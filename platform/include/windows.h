/*
 * Portable stand-in for the Win32 API: the platform's <windows.h>, which
 * gathers the headers below as the real one does. Names, constants,
 * structure layouts and signatures follow the platform's own headers so that
 * code written against them builds unchanged here, from C and C++ alike.
 * Each declaration lives in the header the platform declares it in.
 */
#ifndef STANDIN_WINDOWS_H
#define STANDIN_WINDOWS_H

#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "wingdi.h"
#include "winuser.h"

#endif /* STANDIN_WINDOWS_H */
