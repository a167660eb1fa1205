// The window a front-end mode shows until its dialog is built.
#pragma once

#include "Form.h"
#include "Label.h"

namespace brevalo {

class PlaceholderForm : public gui::Form {
public:
    PlaceholderForm();
    // Creates and shows the window with the given caption.
    void FormCreate(const std::string& caption);

    gui::Label Label1;
};

} // namespace brevalo
