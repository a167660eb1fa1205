#include "Mnemonic.h"

#include "Strings.h"

#include <windows.h>

namespace brevalo::gui {

namespace {

wchar_t Upper(wchar_t c) {
    return wchar_t(reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(UINT_PTR(c)))));
}

} // namespace

wchar_t MnemonicOf(const std::wstring& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&')
            return Upper(text[i + 1]);
        ++i; // "&&" is a plain "&"
    }
    return 0;
}

wchar_t MnemonicOf(const std::string& text) {
    return MnemonicOf(base::Widen(text));
}

bool IsMnemonicKey(wchar_t mnemonic, wchar_t typed) {
    return mnemonic != 0 && Upper(typed) == mnemonic;
}

std::string WithoutMnemonic(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // "&T" shows "T", "&&" shows "&"; a lone "&" at the end shows nothing.
        if (text[i] == '&' && ++i == text.size())
            break;
        shown += text[i];
    }
    return shown;
}

std::string MnemonicShortcut(wchar_t mnemonic) {
    return mnemonic ? "Alt+" + base::Narrow(std::wstring(1, mnemonic)) : std::string();
}

std::string MnemonicShortcut(const std::string& text) {
    return MnemonicShortcut(MnemonicOf(text));
}

} // namespace brevalo::gui
