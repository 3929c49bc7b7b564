#pragma once

#include "app/platform/CommonDialogs.h"

#include <memory>

class QFileDialog;

namespace torumin {

class QtCommonDialogs final : public CommonDialogs {
public:
    QString chooseListFile(QWidget *parent, const QString &title, const QString &folder) override;
    std::optional<std::uint32_t> chooseColour(QWidget *parent, std::uint32_t initial) override;

    // The chooser behind chooseListFile, not yet shown.
    [[nodiscard]] static std::unique_ptr<QFileDialog> makeListFileDialog(QWidget *parent, const QString &title,
                                                                         const QString &folder);
};

} // namespace torumin
