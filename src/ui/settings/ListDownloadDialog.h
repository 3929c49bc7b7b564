#pragma once

#include "app/ListDownload.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace torumin {

// The progress of a download of the latest list: how many bytes came, and
// Cancel. The download starts when the window's event loop runs and the
// window closes itself when it is over, however it ended; result() then
// says how. Cancel, Esc and closing the window all give up the download.
class ListDownloadDialog final : public QDialog {
    Q_OBJECT

public:
    explicit ListDownloadDialog(ListDownloadRequest request, QWidget *parent = nullptr);

    [[nodiscard]] const ListDownloadResult &result() const { return m_result; }

    QLabel *received = nullptr;
    QProgressBar *progress = nullptr;
    QPushButton *Command1 = nullptr;  // キャンセル

public Q_SLOTS:
    void reject() override;

private:
    void showProgress(qint64 bytes, qint64 total);
    void showChecking();
    void onFinished(const ListDownloadResult &result);

    ListDownload m_download;
    ListDownloadResult m_result;
};

} // namespace torumin
