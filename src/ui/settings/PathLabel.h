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

    // A path with words around it: the words are kept whole and only the
    // path gives up its middle. text() is the whole line.
    void setPathLine(const QString &before, const QString &path, const QString &after);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    [[nodiscard]] QRect textRect() const;

    QString m_before;
    QString m_path;
    QString m_after;
};

} // namespace torumin
