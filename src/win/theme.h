// Drawing with the platform's visual themes (buttons, group boxes, tool-bar
// buttons) when they are active.
#pragma once

#include <windows.h>

#include <string>

namespace orv::win::theme {

// Whether the platform draws with visual themes now.
bool Active();
// Draws a theme element ("BUTTON" part 1 = push button, part 4 = group box;
// "TOOLBAR" part 1 = tool-bar button) in state over rect, and gives the
// element's content rectangle. With parentBackground the parent window's
// background is drawn first where the element is see-through. False when
// themes are not active or the element could not be drawn.
bool DrawElement(HWND hwnd, HDC dc, const wchar_t* themeClass, int part, int state,
                 const RECT& rect, RECT* content, bool parentBackground);
// Draws text in an element's font and colour for its state.
bool DrawElementText(HWND hwnd, HDC dc, const wchar_t* themeClass, int part, int state,
                     const std::wstring& text, DWORD flags, const RECT& rect);

} // namespace orv::win::theme
