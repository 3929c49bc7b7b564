#pragma once

#include <QWidget>

class QToolButton;

namespace torumin {

// A pair of arrow buttons that step a whole number within a range; the value
// is shown by a label beside it, as the settings dialog lays them out. The
// arrow keys step it too when it has the focus, which a frame around the
// arrows shows.
class UpDown final : public QWidget {
    Q_OBJECT

public:
    UpDown(int minimum, int maximum, QWidget *parent = nullptr);

    [[nodiscard]] int value() const { return m_value; }
    [[nodiscard]] int minimum() const { return m_minimum; }
    [[nodiscard]] int maximum() const { return m_maximum; }
    // Clamped into the range.
    void setValue(int value);
    void stepBy(int steps);

Q_SIGNALS:
    void valueChanged(int value);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_minimum;
    int m_maximum;
    int m_value;
    QToolButton *m_up;
    QToolButton *m_down;
};

} // namespace torumin
