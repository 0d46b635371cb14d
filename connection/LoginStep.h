#pragma once

class QWidget;

namespace velmora {

// The login's place in the start-up (step 6): modal, true when it ended with
// success; false ends the program.
bool runLogin(QWidget *mainWindow);

} // namespace velmora
