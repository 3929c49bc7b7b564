#pragma once

namespace torumin {

// Registers the icons compiled into the GUI library. A static library's
// resources are not registered by themselves (the linker drops their
// initialiser), so every window that shows an icon calls this first; calls
// after the first do nothing.
void loadResources();

} // namespace torumin
