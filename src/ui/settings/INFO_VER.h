#pragma once

#include "ui/TwipsPlacement.h"
#include "ui/UiContext.h"

#include <QDialog>

#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace torumin {

// The About window: name, version and freeware note, with the author's mail
// address and home page as links. It reads and writes no option.
class INFO_VER final : public QDialog {
    Q_OBJECT

public:
    explicit INFO_VER(UiContext context, QWidget *parent = nullptr);

    // Indexed as the window was designed; the unused places stay null.
    std::array<QLabel *, 20> Label1{};
    QLabel *Image1 = nullptr;
    QFrame *Frame1 = nullptr;
    QPushButton *Command1 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    enum class Link { None, Mail, Web };

    void addShadowedText(const QString &text, const QFont &font, QRgb colour, const QRectF &twips,
                         double shadowOffsetTwips, int textIndex, int shadowIndex);
    QLabel *addLink(int index, const QString &text, const QString &address, QPoint topLeft);
    [[nodiscard]] Link linkOf(const QObject *object) const;
    void lightLink(Link link);
    void openLink(Link link);

    UiContext m_context;
    TwipsPlacement m_twips;
};

} // namespace torumin
