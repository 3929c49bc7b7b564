#pragma once

#include "app/platform/Clipboard.h"
#include "app/platform/CommonDialogs.h"
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

// Answers the file and colour choosers from queues; an empty queue cancels.
class ScriptedCommonDialogs final : public CommonDialogs {
public:
    struct FileRequest {
        QString title;
        QString folder;
    };

    QString chooseListFile(QWidget *, const QString &title, const QString &folder) override
    {
        fileRequests.push_back({title, folder});
        if (files.empty())
            return {};
        QString file = files.front();
        files.erase(files.begin());
        return file;
    }
    std::optional<std::uint32_t> chooseColour(QWidget *, std::uint32_t initial) override
    {
        colourRequests.push_back(initial);
        if (colours.empty())
            return std::nullopt;
        const std::uint32_t colour = colours.front();
        colours.erase(colours.begin());
        return colour;
    }

    std::vector<QString> files;
    std::vector<std::uint32_t> colours;
    std::vector<FileRequest> fileRequests;
    std::vector<std::uint32_t> colourRequests;
};

} // namespace torumin::testing
