#pragma once

#include "app/ListDownload.h"

#include <QDialog>

#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace torumin {

// The progress of a download of the latest list: how many bytes came, and
// Cancel. The download starts when the window's event loop runs and the
// window closes itself when it is over, however it ended; result() then
// says how. Cancel, Esc and closing the window all give up the download.
//
// Given the office list's request as well, the window fetches it after a
// postal list that was installed; officeResult() says how that went. Giving
// it up, or its failing, leaves the postal list installed.
class ListDownloadDialog final : public QDialog {
    Q_OBJECT

public:
    explicit ListDownloadDialog(ListDownloadRequest request,
                                std::optional<ListDownloadRequest> officeRequest = std::nullopt,
                                QWidget *parent = nullptr);

    [[nodiscard]] const ListDownloadResult &result() const { return m_result; }
    [[nodiscard]] const std::optional<ListDownloadResult> &officeResult() const { return m_officeResult; }

    QLabel *received = nullptr;
    QProgressBar *progress = nullptr;
    QPushButton *Command1 = nullptr;  // キャンセル

public Q_SLOTS:
    void reject() override;

private:
    void start(ListDownloadRequest request);
    void showProgress(qint64 bytes, qint64 total);
    void showChecking();
    void onFinished(const ListDownloadResult &result);

    QLabel *m_what = nullptr;
    std::unique_ptr<ListDownload> m_download;
    std::optional<ListDownloadRequest> m_officeRequest;
    ListDownloadResult m_result;
    std::optional<ListDownloadResult> m_officeResult;
};

} // namespace torumin
