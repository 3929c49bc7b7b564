#pragma once

#include <QDialog>

class QLabel;

namespace torumin {

// The splash window: product name, version and supported systems for two
// seconds, then it closes itself. It takes no clicks or keys.
class INITDISP final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kShowMilliseconds = 2000;

    explicit INITDISP(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Timer1_Timer();
    // Adds a text drawn twice: a black shadow offset down and right, and the
    // coloured text over it.
    void addShadowedText(const QString &text, const QFont &font, QRgb colour, const QRectF &twips,
                         double shadowOffsetTwips, int shadowIndex, int textIndex);
    [[nodiscard]] QRect toPixels(const QRectF &twips) const;
    [[nodiscard]] QPoint toPixels(QPointF twips) const;

    double m_dpi;
    bool m_timerFired = false;
};

} // namespace torumin
