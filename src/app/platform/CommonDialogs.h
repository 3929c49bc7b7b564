#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

namespace torumin {

// The system's file chooser and colour chooser, so tests can answer them.
class CommonDialogs {
public:
    CommonDialogs() = default;
    virtual ~CommonDialogs() = default;
    CommonDialogs(const CommonDialogs &) = delete;
    CommonDialogs &operator=(const CommonDialogs &) = delete;

    // A list file chosen by the user, or the empty string when cancelled.
    virtual QString chooseListFile(QWidget *parent, const QString &title, const QString &folder) = 0;
    // A colour as the settings keep it (00BBGGRR), or nothing when cancelled.
    virtual std::optional<std::uint32_t> chooseColour(QWidget *parent, std::uint32_t initial) = 0;
};

} // namespace torumin
