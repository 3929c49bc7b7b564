#pragma once

#include "app/platform/WebOpener.h"

namespace torumin {

class QtWebOpener final : public WebOpener {
public:
    bool openUrl(const QString &url) override;
};

} // namespace torumin
