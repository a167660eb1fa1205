// Driving the wizard from outside as a user would: finding its visible
// controls, clicking, typing, and looking at other processes it starts.
#pragma once

#include "Driver.h"
#include "Inspect.h"

#include <windows.h>

#include <string>
#include <vector>

namespace brevalo::e2e {

// The visible descendants of `top` of class `className` (all classes when
// empty), in window order.
std::vector<HWND> VisibleChildren(HWND top, const std::wstring& className = L"");
// The visible descendant with that class and caption ("&" ignored), or null.
HWND FindVisible(HWND top, const std::wstring& className, const std::wstring& caption);
// Clicks the visible button with that caption and waits (at most 2 s) for
// the click to be handled; false if there is none.
bool PressButton(HWND top, const std::wstring& caption);
// Types the text into a control as key presses (WM_CHAR), one by one.
void TypeText(HWND control, const std::wstring& text);
// Lets the program's queue settle: waits until it answers a message.
void Settle(HWND window);

// Waits for a visible top-level window of any process with the class and
// caption; its process id in `processId`.
HWND WaitForAnyWindow(const std::wstring& className, const std::wstring& caption, DWORD& processId,
                      std::chrono::milliseconds timeout = 15s);
// Ends the process `processId` (one this test caused to start).
void EndProcess(DWORD processId);

// Saves the screen area of a window as a 24-bit BMP file.
void SaveWindowBitmap(HWND window, const std::wstring& path);

} // namespace brevalo::e2e
