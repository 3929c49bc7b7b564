#pragma once

#include "app/Module1.h"
#include "support/FakePlatform.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/UiContext.h"

namespace torumin::testing {

// The program-wide state and every platform service as the window tests need
// them: in memory, scripted, and recording what the windows asked for.
struct FakeServices {
    Module1 state;
    MemorySettingsStore store;
    ScriptedMessageBoxes boxes;
    FakeClipboard clipboard;
    RecordingHelpViewer help;
    RecordingWebOpener web;

    UiContext context() { return {state, store, boxes, clipboard, help, web}; }
};

} // namespace torumin::testing
