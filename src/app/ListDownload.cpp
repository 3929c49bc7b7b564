#include "app/ListDownload.h"

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace torumin {

namespace {

// What the reply may hold that we have not taken yet.
constexpr qint64 kReadBufferBytes = 256 * 1024;

// The desktop's proxy settings, except for a server on this machine (a
// mirror, a test), which no proxy could reach.
class DesktopProxies final : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        const QString host = query.peerHostName();
        if (host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback())
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(query);
    }
};

bool flushToDisk(QFileDevice &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// Makes the rename itself survive a power cut, not only the file's bytes.
void flushFolder([[maybe_unused]] const QString &folder)
{
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

// Written unbuffered, so that a failing write is told with the system's own
// reason (a full disk among them) at the moment it happens.
class PartialFile final : public QTemporaryFile {
public:
    using QTemporaryFile::QTemporaryFile;
    bool openForWriting() { return open(QIODevice::ReadWrite | QIODevice::Unbuffered); }

    // A short write sets no error; the write after it fails and says why.
    bool writeAll(const QByteArray &bytes)
    {
        for (qint64 done = 0; done < bytes.size();) {
            const qint64 written = write(bytes.constData() + done, bytes.size() - done);
            if (written <= 0)
                return false;
            done += written;
        }
        return true;
    }
};

ListDownload::ListDownload(ListDownloadRequest request, QObject *parent)
    : QObject(parent)
    , m_request(std::move(request))
{
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, [this] { fail(timeoutError()); });
    constexpr int kSamplesPerTimeout = 10;
    m_pace.setInterval(std::max<std::chrono::milliseconds>(m_request.idleTimeout / kSamplesPerTimeout,
                                                           std::chrono::milliseconds(10)));
    connect(&m_pace, &QTimer::timeout, this, &ListDownload::checkPace);
}

ListDownload::~ListDownload()
{
    m_idle.stop();
    m_pace.stop();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
    // The temporary file goes with m_partial, and only once nothing reads it.
    if (m_checker.joinable())
        m_checker.join();
}

void ListDownload::start()
{
    QTimer::singleShot(0, this, &ListDownload::begin);
}

void ListDownload::cancel()
{
    ListDownloadResult result;
    result.outcome = ListDownloadResult::Outcome::Cancelled;
    finish(std::move(result));
}

void ListDownload::begin()
{
    if (m_finished)
        return;
    const QString scheme = m_request.url.scheme().toLower();
    if (!m_request.url.isValid() || (scheme != u"https" && scheme != u"http")) {
        fail(ListUpdateErrors::noNetwork(QStringLiteral("ダウンロード先のアドレスが正しくありません：")
                                         + m_request.url.toString()));
        return;
    }
    if (!QDir().mkpath(m_request.folder)) {
        fail(ListUpdateErrors::cannotSave(m_request.folder, QStringLiteral("フォルダーを作れません"), false));
        return;
    }
    const QString partName = m_request.kind == ListKind::Office ? QStringLiteral("jigyosyo-XXXXXX.part")
                                                                : QStringLiteral("ken_all-XXXXXX.part");
    m_partial = std::make_unique<PartialFile>(QDir(m_request.folder).filePath(partName));
    if (!m_partial->openForWriting()) {
        const ListUpdateError error = saveError();
        m_partial.reset();
        fail(error);
        return;
    }

    m_network = std::make_unique<QNetworkAccessManager>();
    m_network->setProxyFactory(new DesktopProxies);
    QNetworkRequest request(m_request.url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("TORUMIN/" TORUMIN_VERSION));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_network->get(request);
    // Unbounded, the reply takes in whatever the server sends as fast as it
    // comes, far ahead of the cap's count; bounded, the socket waits for us.
    m_reply->setReadBufferSize(kReadBufferBytes);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &ListDownload::onHeaders);
    connect(m_reply, &QNetworkReply::readyRead, this, &ListDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &ListDownload::onReplyFinished);
    m_idle.start(m_request.idleTimeout);
    m_clock.start();
    m_paceSamples.assign(1, {0, 0});
    m_pace.start();
}

void ListDownload::checkPace()
{
    if (m_finished)
        return;
    const qint64 now = m_clock.elapsed();
    m_paceSamples.emplace_back(now, m_seen);
    const qint64 window = m_request.idleTimeout.count();
    // The newest sample at least a window old is where the window starts.
    while (m_paceSamples.size() > 1 && m_paceSamples[1].first <= now - window)
        m_paceSamples.pop_front();
    const auto [since, seenThen] = m_paceSamples.front();
    if (now - since < window)
        return;
    const qint64 inWindow = m_seen - seenThen;
    if (inWindow >= m_request.minBytesPerIdleTimeout)
        return;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(m_request.idleTimeout).count();
    fail(inWindow == 0 ? timeoutError()
                       : ListUpdateErrors::tooSlow(m_request.minBytesPerIdleTimeout, static_cast<int>(seconds)));
}

qint64 ListDownload::announcedSize() const
{
    const QVariant length = m_reply ? m_reply->header(QNetworkRequest::ContentLengthHeader) : QVariant();
    return length.isValid() ? length.toLongLong() : -1;
}

namespace {

bool isSuccess(const QNetworkReply &reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return status.isValid() && status.toInt() >= 200 && status.toInt() <= 299;
}

} // namespace

void ListDownload::onHeaders()
{
    if (m_finished || !m_reply)
        return;
    m_idle.start(m_request.idleTimeout);
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // Told at once: the error page behind it may never end.
    if (status.isValid() && status.toInt() >= 400) {
        fail(*replyError());
        return;
    }
    if (isSuccess(*m_reply) && announcedSize() > m_request.maxBytes)
        fail(ListUpdateErrors::tooLarge(m_request.kind, m_request.maxBytes));
}

void ListDownload::onReadyRead()
{
    if (m_finished || !m_reply)
        return;
    m_idle.start(m_request.idleTimeout);
    const QByteArray bytes = m_reply->readAll();
    m_seen += bytes.size();
    if (m_seen > m_request.maxBytes) {
        fail(ListUpdateErrors::tooLarge(m_request.kind, m_request.maxBytes));
        return;
    }
    // A redirect's body is not kept.
    if (!isSuccess(*m_reply))
        return;
    if (!m_partial->writeAll(bytes)) {
        fail(saveError());
        return;
    }
    m_received += bytes.size();
    Q_EMIT progressed(m_received, announcedSize());
}

std::optional<ListUpdateError> ListDownload::replyError() const
{
    // The status of the last hop would only say "302".
    if (m_reply->error() == QNetworkReply::TooManyRedirectsError)
        return ListUpdateErrors::tooManyRedirects();
    if (m_reply->error() == QNetworkReply::InsecureRedirectError)
        return ListUpdateErrors::notSecure(m_reply->errorString());
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && !isSuccess(*m_reply))
        return ListUpdateErrors::httpStatus(status.toInt(),
                                            m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    const QString systemText = m_reply->errorString();
    switch (m_reply->error()) {
    case QNetworkReply::NoError:
        return std::nullopt;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::ProtocolUnknownError:
        return ListUpdateErrors::noNetwork(systemText);
    case QNetworkReply::SslHandshakeFailedError:
        return ListUpdateErrors::notSecure(systemText);
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
        return timeoutError();
    case QNetworkReply::UnknownContentError:
        // Qt gives up unpacking an answer that would grow without end (or
        // is broken), and says little more than that.
        if (m_reply->hasRawHeader("Content-Encoding"))
            return ListUpdateErrors::badCompression();
        return ListUpdateErrors::connectionLost(systemText);
    default:
        return ListUpdateErrors::connectionLost(systemText);
    }
}

void ListDownload::onReplyFinished()
{
    if (m_finished || !m_reply)
        return;
    m_idle.stop();
    m_pace.stop();
    if (const std::optional<ListUpdateError> error = replyError()) {
        fail(*error);
        return;
    }
    if (!flushToDisk(*m_partial)) {
        fail(saveError());
        return;
    }
    m_partial->close();
    Q_EMIT checking();
    // The check reads the whole list, which takes a moment; meanwhile the
    // progress window stays responsive and Cancel still works.
    const QString path = m_partial->fileName();
    const ListCheckLimits limits = m_request.limits;
    const ListKind kind = m_request.kind;
    try {
        m_checker = std::thread([this, path, limits, kind] {
            const CheckedList checked = checkDownloadedList(path, limits, kind);
            QMetaObject::invokeMethod(this, [this, checked] { onChecked(checked); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error &) {
        onChecked(checkDownloadedList(path, limits, kind));
    }
}

void ListDownload::onChecked(const CheckedList &checked)
{
    if (m_finished)
        return;
    if (m_checker.joinable())
        m_checker.join();
    if (checked.error) {
        fail(*checked.error);
        return;
    }
    if (m_request.kind == ListKind::Postal && m_request.loadedDataDate.isValid()
        && checked.dataDate == m_request.loadedDataDate) {
        ListDownloadResult result;
        result.outcome = ListDownloadResult::Outcome::UpToDate;
        result.dataDate = checked.dataDate;
        result.recordCount = checked.recordCount;
        finish(std::move(result));
        return;
    }
    install(checked);
}

void ListDownload::install(const CheckedList &checked)
{
    const QDir folder(m_request.folder);
    const bool offices = m_request.kind == ListKind::Office;
    const QString target = QDir::toNativeSeparators(
        folder.filePath(offices ? kDownloadedOfficeListName : downloadedListName(checked.dataDate)));
    // A temporary file keeps its handle through close(), and Windows moves
    // no file that is open: the handle goes first, and the file is ours.
    const QString partial = m_partial->fileName();
    m_partial->setAutoRemove(false);
    m_partial.reset();
    // rename() replaces a list of the same date in one step, so the name
    // never points at a half-written file.
    std::error_code renameError;
    std::filesystem::rename(fsPath(partial), fsPath(target), renameError);
    if (renameError) {
        QFile::remove(partial);
        fail(ListUpdateErrors::cannotSave(m_request.folder, QString::fromStdString(renameError.message()),
                                          renameError == std::errc::no_space_on_device));
        return;
    }
    flushFolder(m_request.folder);
    if (!offices) {
        const QString canonicalFolder = QFileInfo(m_request.folder).canonicalFilePath();
        QStringList inUse{downloadedListName(checked.dataDate)};
        for (const QString &path : m_request.inUsePaths) {
            const QFileInfo info(path);
            if (!path.isEmpty() && QFileInfo(info.absolutePath()).canonicalFilePath() == canonicalFolder)
                inUse.append(info.fileName());
        }
        for (const QString &name : downloadedListsToRemove(folder.entryList(QDir::Files), inUse))
            QFile::remove(folder.filePath(name));
    }

    ListDownloadResult result;
    result.outcome = ListDownloadResult::Outcome::Installed;
    result.path = target;
    result.dataDate = checked.dataDate;
    result.recordCount = checked.recordCount;
    finish(std::move(result));
}

ListUpdateError ListDownload::timeoutError() const
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(m_request.idleTimeout).count();
    return ListUpdateErrors::timeout(static_cast<int>(seconds));
}

ListUpdateError ListDownload::saveError() const
{
    return ListUpdateErrors::cannotSave(m_request.folder, m_partial ? m_partial->errorString() : QString(),
                                        m_partial && m_partial->error() == QFileDevice::ResourceError);
}

void ListDownload::fail(ListUpdateError error)
{
    ListDownloadResult result;
    result.outcome = ListDownloadResult::Outcome::Failed;
    result.error = std::move(error);
    finish(std::move(result));
}

void ListDownload::finish(ListDownloadResult result)
{
    if (m_finished)
        return;
    m_finished = true;
    m_idle.stop();
    m_pace.stop();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    if (m_checker.joinable())
        m_checker.join();
    m_partial.reset();
    Q_EMIT finished(result);
}

} // namespace torumin
