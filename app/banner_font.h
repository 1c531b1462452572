// The banner: a font whose character cells fill a static control.
#ifndef BRUMIX_BANNER_FONT_H
#define BRUMIX_BANNER_FONT_H

#include <windows.h>

constexpr DWORD BANNER_BOLD = 1;    // weight 1000, the top of the scale
constexpr DWORD BANNER_ITALIC = 2;

// Makes the font, gives it to the control and keeps it in g_bannerFont.
void CreateBannerFont(HWND window, int controlId, const char* faceName, DWORD flags);

#endif
