#include "WizardDriver.h"

#include "Handle.h"

#include <filesystem>
#include <fstream>
#include <thread>

namespace brevalo::e2e {

namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[128]{};
    GetClassNameW(hwnd, name, 128);
    return name;
}

std::wstring Plain(std::wstring text) {
    std::wstring out;
    for (wchar_t c : text)
        if (c != L'&')
            out += c;
    return out;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
    return TRUE;
}

struct WindowSearch {
    std::wstring className, caption;
    HWND found = nullptr;
    DWORD processId = 0;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (IsWindowVisible(hwnd) && ClassOf(hwnd) == search->className &&
        WindowText(hwnd) == search->caption) {
        search->found = hwnd;
        GetWindowThreadProcessId(hwnd, &search->processId);
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::vector<HWND> VisibleChildren(HWND top, const std::wstring& className) {
    std::vector<HWND> all;
    EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> visible;
    for (HWND hwnd : all)
        if (IsWindowVisible(hwnd) && (className.empty() || ClassOf(hwnd) == className))
            visible.push_back(hwnd);
    return visible;
}

HWND FindVisible(HWND top, const std::wstring& className, const std::wstring& caption) {
    for (HWND hwnd : VisibleChildren(top, className))
        if (Plain(WindowText(hwnd)) == Plain(caption))
            return hwnd;
    return nullptr;
}

bool PressButton(HWND top, const std::wstring& caption) {
    HWND button = FindVisible(top, L"Button", caption);
    if (!button)
        return false;
    // Sent, so that the click has been handled when this returns; a click
    // that opens a modal box returns after the time limit instead.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &result);
    return true;
}

void TypeText(HWND control, const std::wstring& text) {
    for (wchar_t c : text)
        PostMessageW(control, WM_CHAR, c, 1);
}

void Settle(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    std::this_thread::sleep_for(200ms);
}

HWND WaitForAnyWindow(const std::wstring& className, const std::wstring& caption, DWORD& processId,
                      std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
        WindowSearch search{className, caption};
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            processId = search.processId;
            return search.found;
        }
        std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

void EndProcess(DWORD processId) {
    base::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (process) {
        TerminateProcess(process.Get(), 0);
        WaitForSingleObject(process.Get(), 5000);
    }
}

void SaveWindowBitmap(HWND window, const std::wstring& path) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    base::MemoryDc dc(CreateCompatibleDC(screen));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    base::Bitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(dc.Get(), bitmap.Get());
    BitBlt(dc.Get(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(dc.Get(), old);
    ReleaseDC(nullptr, screen);
    const DWORD stride = (DWORD(width) * 3 + 3) & ~3u;
    const DWORD size = stride * DWORD(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
}

} // namespace brevalo::e2e
