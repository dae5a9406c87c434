#pragma once

namespace shell {

// The shell's stderr carries the product's messages only: Qt's debug, info and warning messages (a
// platform plugin without raise(), a missing XDG_RUNTIME_DIR) are dropped unless passQtMessages; critical
// and fatal ones always pass. Installed before the application object, which already speaks.
void installMessageHandler(bool passQtMessages);

} // namespace shell
