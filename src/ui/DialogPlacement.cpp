#include "ui/DialogPlacement.h"

#include "app/WindowGeometry.h"

#include <QScreen>
#include <QWidget>

namespace torumin {

void placeClearOf(QWidget &dialog, const QWidget &owner, const QWidget &keep)
{
    const QScreen *screen = owner.screen();
    if (!screen || !owner.isVisible())
        return;
    const QRect ownerFrame = owner.frameGeometry();
    const QRect ownerInside = owner.geometry();
    const QMargins frame(ownerInside.left() - ownerFrame.left(), ownerInside.top() - ownerFrame.top(),
                         ownerFrame.right() - ownerInside.right(), ownerFrame.bottom() - ownerInside.bottom());
    const QSize dialogFrame = dialog.size().grownBy(frame);
    const QRect keepOnScreen(keep.mapToGlobal(QPoint(0, 0)), keep.size());
    dialog.move(dialogPositionClearOf(dialogFrame, ownerFrame, keepOnScreen, screen->availableGeometry()));
}

} // namespace torumin
