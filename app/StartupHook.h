#pragma once

#include <QString>

namespace velmora {

// When "setup.sql" lies in the working directory, "setup.sh" beside it is
// started detached, in a shell; start-up does not wait for it, and a missing
// or failing script is not reported. Returns whether a script was started.
bool runStartupHook(const QString &workingDirectory);

} // namespace velmora
