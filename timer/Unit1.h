// The timer window: one running timer, configured from the command line.
#pragma once

#include "CommandLine.h"
#include "Form.h"
#include "Label.h"
#include "TimerSettings.h"

#include <cstdint>
#include <string>

namespace brevalo {

class TForm1 : public gui::Form {
public:
    TForm1();
    ~TForm1() override;

    // Creates the window and runs its creation sequence. A command-line error
    // (codes 1, 3 and 4, unless /m) is thrown after the window exists; the
    // window then stays, shows "00:00:00" and never counts.
    void FormCreate();

    const TimerSettings& Settings() const noexcept { return settings_; }
    ParseResult Result() const noexcept { return parseResult_; }
    bool Finished() const noexcept { return finished_; }

    gui::Label Label1;
    gui::Label Label2;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class Parser;
    void PlaceOnScreen();

    TimerSettings settings_;
    ParseResult parseResult_ = ParseNoEndPoint;
    bool finished_ = false;
    bool startCancelled_ = false;
    std::string actionItemCaption_ = "None";
    bool actionItemChecked_ = false;
    bool actionItemEnabled_ = false;
    std::uint32_t lastMouseMoveTick_ = 0;
};

} // namespace brevalo
