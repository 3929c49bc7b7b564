#pragma once

#include "app/platform/Clipboard.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/WebOpener.h"

#include <QString>

#include <optional>
#include <vector>

namespace torumin::testing {

// A clipboard in memory; it can be made unusable, as when another program
// holds the system clipboard.
class FakeClipboard final : public Clipboard {
public:
    bool setText(const QString &text) override
    {
        if (!usable)
            return false;
        contents = text;
        ++writes;
        return true;
    }
    [[nodiscard]] std::optional<QString> text() const override
    {
        if (!usable)
            return std::nullopt;
        return contents.value_or(QString());
    }

    std::optional<QString> contents;  // nothing: holds something that is not text
    bool usable = true;
    int writes = 0;
};

// Remembers what help was asked for.
class RecordingHelpViewer final : public HelpViewer {
public:
    void showContents() override { requests.push_back(-1); }
    void showIndex() override { requests.push_back(-2); }
    void showTopic(int topic) override { requests.push_back(topic); }

    std::vector<int> requests;
};

// Remembers what was opened; can play a desktop without a browser or mail program.
class RecordingWebOpener final : public WebOpener {
public:
    bool openUrl(const QString &url) override
    {
        opened.push_back(url);
        return canOpen;
    }

    std::vector<QString> opened;
    bool canOpen = true;
};

} // namespace torumin::testing
