#pragma once

#include <QLabel>

namespace torumin {

// A file path in a box. Too long for the box, it gives up its middle, so the
// start of the path and the file name both stay in view; text() keeps the
// whole path. Its width does not follow the path, so a long one does not
// widen the window.
class PathLabel final : public QLabel {
    Q_OBJECT

public:
    explicit PathLabel(QWidget *parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;
    // The text as it is drawn at the present width.
    [[nodiscard]] QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    [[nodiscard]] QRect textRect() const;
};

} // namespace torumin
