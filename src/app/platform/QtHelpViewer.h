#pragma once

#include "app/platform/HelpViewer.h"

#include <QPointer>
#include <QString>

namespace torumin {

class HelpWindow;

// The help pages shipped inside the program, in one browser window that is
// reused for every request.
class QtHelpViewer final : public HelpViewer {
public:
    QtHelpViewer();
    ~QtHelpViewer() override;

    void showContents() override;
    void showIndex() override;
    void showTopic(int topic) override;

    // The page of a topic number; the contents page for a number without one.
    [[nodiscard]] static QString topicPage(int topic);

private:
    void show(const QString &page);

    QPointer<HelpWindow> m_window;
};

} // namespace torumin
