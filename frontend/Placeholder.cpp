#include "Placeholder.h"

#include "Application.h"
#include "Strings.h"

namespace brevalo {

PlaceholderForm::PlaceholderForm() : Label1(*this) {}

void PlaceholderForm::FormCreate(const std::string& caption) {
    CreateParams params;
    params.className = L"TBrevaloPlaceholder";
    params.caption = base::Widen(caption);
    params.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    params.exStyle = WS_EX_APPWINDOW;
    params.icon = LoadIconW(gui::Application::Instance().Instance_(), L"MAINICON");
    CreateHandle(params);
    SetDoubleBuffered(true);
    SetBounds(200, 150, 420, 160);
    Label1.SetFont("Segoe UI", 10);
    Label1.SetText("This part of Brevalo is not built yet.");
    Label1.SetBounds(Scale(24), Scale(40), Label1.Width(), Label1.Height());
}

} // namespace brevalo
