#pragma once

#include "app/platform/Clipboard.h"

namespace torumin {

class QtClipboard final : public Clipboard {
public:
    bool setText(const QString &text) override;
    [[nodiscard]] std::optional<QString> text() const override;
};

} // namespace torumin
