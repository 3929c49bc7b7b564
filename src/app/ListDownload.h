#pragma once

#include "app/DownloadedList.h"

#include <QDate>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <thread>

class QNetworkAccessManager;
class QNetworkReply;

namespace torumin {

class PartialFile;

struct ListDownloadRequest {
    // The office list is checked by its own layout and placed as
    // kDownloadedOfficeListName, replacing the one before; no date decides.
    ListKind kind = ListKind::Postal;
    QUrl url;
    QString folder;          // where downloaded lists are kept; made when missing
    QDate loadedDataDate;    // of the list in use; invalid when none is loaded
    QStringList inUsePaths;  // lists the slots point at: never removed
    ListCheckLimits limits;
    qint64 maxBytes = kMaxDownloadBytes;
    std::chrono::milliseconds idleTimeout{30000};  // without a byte from the server
    // A server that trickles is given up on like a silent one: fewer bytes
    // than this within one idleTimeout, once the download has run that long.
    qint64 minBytesPerIdleTimeout = 1024;
};

struct ListDownloadResult {
    enum class Outcome { Installed, UpToDate, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    QString path;       // Installed: where the list now lies
    QDate dataDate;     // Installed, UpToDate
    int recordCount = 0;
    std::optional<ListUpdateError> error;  // Failed
};

// Fetches the latest list into a temporary file in the data folder, checks
// it (checkDownloadedList) and only then moves it into place under its
// date's name, removing downloaded lists older than the newest few. Until
// that move nothing outside the temporary file changes, and every way out
// short of it (a failure, cancel(), destruction) removes the temporary file.
// Deciding what the settings do with the new list is the caller's.
//
// No network object exists before start(): the program touches the network
// only when the user asks for this.
class ListDownload final : public QObject {
    Q_OBJECT

public:
    explicit ListDownload(ListDownloadRequest request, QObject *parent = nullptr);
    ~ListDownload() override;
    ListDownload(const ListDownload &) = delete;
    ListDownload &operator=(const ListDownload &) = delete;

    // The outcome comes through finished(), never from within start().
    void start();
    // Gives up at any point before the list is in place; finished() says so.
    void cancel();
    [[nodiscard]] bool isFinished() const noexcept { return m_finished; }

Q_SIGNALS:
    void progressed(qint64 received, qint64 total);  // total -1 while unknown
    void checking();  // all received; the list is being checked
    void finished(const torumin::ListDownloadResult &result);

private:
    void begin();
    void onHeaders();
    void onReadyRead();
    void onReplyFinished();
    void onChecked(const CheckedList &checked);
    void install(const CheckedList &checked);
    void fail(ListUpdateError error);
    void finish(ListDownloadResult result);
    [[nodiscard]] std::optional<ListUpdateError> replyError() const;
    [[nodiscard]] ListUpdateError saveError() const;
    [[nodiscard]] ListUpdateError timeoutError() const;
    [[nodiscard]] qint64 announcedSize() const;
    void checkPace();

    ListDownloadRequest m_request;
    std::unique_ptr<QNetworkAccessManager> m_network;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<PartialFile> m_partial;
    QTimer m_idle;
    // Samples of m_seen, oldest first, over the last idleTimeout and one before.
    QTimer m_pace;
    QElapsedTimer m_clock;
    std::deque<std::pair<qint64, qint64>> m_paceSamples; // ms since start, bytes seen
    std::thread m_checker;
    qint64 m_received = 0;  // of the list
    qint64 m_seen = 0;      // of anything the server sent
    bool m_finished = false;
};

} // namespace torumin
