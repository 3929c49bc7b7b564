#pragma once

namespace torumin {

class Clipboard;
class HelpViewer;
class MessageBoxes;
class SettingsStore;
class WebOpener;
struct Module1;

// What every window works with: the program-wide state, the settings store and
// the platform services. Windows take it by reference; it outlives them all.
struct UiContext {
    Module1 &state;
    SettingsStore &store;
    MessageBoxes &boxes;
    Clipboard &clipboard;
    HelpViewer &help;
    WebOpener &web;
};

} // namespace torumin
