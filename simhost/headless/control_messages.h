// What the dialog controls of the stand-in answer to the messages sent to them: the list box
// (the LB_ messages), the buttons and check boxes (BM_GETCHECK, BM_SETCHECK), and the window
// text of every control. `wide` tells the character form of text arguments (the W or the A
// function sent them); text is kept as UTF-16 and converted through the ANSI code page.
#pragma once

#include "simhost/headless/window.h"

namespace simhost::headless {

LRESULT ControlMessage(Window& control, UINT message, WPARAM wParam, LPARAM lParam, bool wide);

}  // namespace simhost::headless
