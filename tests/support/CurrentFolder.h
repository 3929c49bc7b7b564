#pragma once

#include <QDir>
#include <QString>

namespace torumin::testing {

// Start-up makes the program's folder the current one. On Windows no folder
// that is current can be removed, and a path from the root lies on the
// current drive, so a test that starts the program goes back to where it
// was before its folders go.
class CurrentFolderKept {
public:
    CurrentFolderKept()
        : m_folder(QDir::currentPath())
    {
    }
    ~CurrentFolderKept() { QDir::setCurrent(m_folder); }
    CurrentFolderKept(const CurrentFolderKept &) = delete;
    CurrentFolderKept &operator=(const CurrentFolderKept &) = delete;

private:
    QString m_folder;
};

} // namespace torumin::testing
