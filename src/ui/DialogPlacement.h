#pragma once

class QWidget;

namespace torumin {

// Moves a top-level dialog, before it is shown, to where it leaves `keep` (a
// control of `owner`, the window that opens it) in view, on the owner's
// screen. The dialog's frame is taken to be as thick as the owner's.
void placeClearOf(QWidget &dialog, const QWidget &owner, const QWidget &keep);

} // namespace torumin
