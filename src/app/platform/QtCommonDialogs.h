#pragma once

#include "app/platform/CommonDialogs.h"

namespace torumin {

class QtCommonDialogs final : public CommonDialogs {
public:
    QString chooseListFile(QWidget *parent, const QString &title, const QString &folder) override;
    std::optional<std::uint32_t> chooseColour(QWidget *parent, std::uint32_t initial) override;
};

} // namespace torumin
