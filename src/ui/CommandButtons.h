#pragma once

#include <QString>

#include <array>
#include <functional>

class QPushButton;
class QWidget;

namespace torumin {

class TwipsPlacement;

// One of the command buttons every dialog has: named "Command1_<index>", its
// caption between spaces as tooltip, the dialogs' button font, and pressed by
// Enter while it has the focus.
QPushButton *makeCommandButton(QWidget *parent, int index, const QString &caption,
                               const std::function<void(int)> &onClick);

template <std::size_t N>
std::array<QPushButton *, N> makeCommandButtons(QWidget *parent, const std::array<QString, N> &captions,
                                                const std::function<void(int)> &onClick)
{
    std::array<QPushButton *, N> buttons{};
    for (std::size_t i = 0; i < N; ++i)
        buttons[i] = makeCommandButton(parent, static_cast<int>(i), captions[i], onClick);
    return buttons;
}

// The designed button row: 1300 x 300 twips each, at these lefts and one top.
void placeButtonRow(const TwipsPlacement &twips, QPushButton *const *buttons, const double *lefts, std::size_t count,
                    double top);

template <std::size_t N>
void placeButtonRow(const TwipsPlacement &twips, const std::array<QPushButton *, N> &buttons,
                    const std::array<double, N> &lefts, double top)
{
    placeButtonRow(twips, buttons.data(), lefts.data(), N, top);
}

} // namespace torumin
