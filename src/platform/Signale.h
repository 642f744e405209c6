#pragma once
// SIGTERM and SIGHUP (kill, logout) end the program the way closing its main window
// does. The handler only writes to a pipe; the action runs in the event loop.
#include <functional>

namespace signale {
void beimBeenden(std::function<void()> aktion);
}
