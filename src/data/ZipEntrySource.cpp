#include "data/ZipEntrySource.h"

#include "data/ListErrorMessages.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <zip.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>

namespace torumin {

namespace {

constexpr std::string_view kLocalHeader = "PK\x03\x04";
constexpr std::string_view kEmptyArchive = "PK\x05\x06";
// The postal service's names for the nationwide list in its two editions.
bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) noexcept
{
    if (text.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a))
                              == std::tolower(static_cast<unsigned char>(b));
                      });
}

// Only '/' separates folders in an archive. A code page 932 name may hold a
// backslash byte inside a character, and neither '/' nor '.' can be one.
std::string_view baseName(std::string_view name) noexcept
{
    const std::size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

// Big enough that handing blocks over costs nothing next to inflating them,
// few enough to stay in the cache the parser reads them from.
constexpr std::size_t kPrefetchBlockBytes = 128 * 1024;
constexpr std::size_t kPrefetchBlocks = 3;

QString textOf(zip_error_t *error)
{
    return QString::fromUtf8(zip_error_strerror(error));
}

QString textOfCode(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    QString text = textOf(&error);
    zip_error_fini(&error);
    return text;
}

QByteArray encodedPath(const QString &path)
{
#ifdef Q_OS_WIN
    return path.toUtf8(); // libzip's own choice on Windows
#else
    return QFile::encodeName(path);
#endif
}

std::vector<std::string> rawEntryNames(zip_t *archive)
{
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        names.emplace_back(name ? name : "");
    }
    return names;
}

// For the user: libzip turns a name that is not marked as UTF-8 into UTF-8
// by the zip format's own rules.
QString shownEntryName(zip_t *archive, const std::vector<std::string> &rawNames, std::size_t index)
{
    const char *shown = zip_get_name(archive, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_GUESS);
    return QString::fromUtf8(shown ? shown : rawNames[index].c_str());
}

} // namespace

ZipListSummary summarizeListArchive(const QString &path)
{
    ZipListSummary summary;
    if (QFileInfo(path).size() == 0) {
        summary.errorText = textOfCode(ZIP_ER_NOZIP);
        return summary;
    }
    int code = ZIP_ER_OK;
    zip_t *archive = zip_open(encodedPath(path).constData(), ZIP_RDONLY, &code);
    if (!archive) {
        summary.errorText = textOfCode(code);
        return summary;
    }
    summary.readable = true;
    const std::vector<std::string> names = rawEntryNames(archive);
    const std::vector<std::size_t> candidates = listEntryCandidates(names);
    summary.csvEntries = static_cast<int>(candidates.size());
    if (candidates.size() == 1) {
        const auto index = static_cast<zip_uint64_t>(candidates.front());
        summary.entryName = shownEntryName(archive, names, candidates.front());
        zip_stat_t stat;
        zip_stat_init(&stat);
        // libzip reads the DOS date and time as local time, which is how the
        // archive's maker wrote them, so the date comes out as the maker's.
        if (zip_stat_index(archive, index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_MTIME))
            summary.entryTime = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(stat.mtime));
    }
    zip_discard(archive);
    return summary;
}

bool startsLikeZipArchive(std::string_view firstBytes) noexcept
{
    return firstBytes.starts_with(kLocalHeader) || firstBytes.starts_with(kEmptyArchive);
}

bool isListArchive(std::string_view firstBytes, const QString &name)
{
    return startsLikeZipArchive(firstBytes) || name.endsWith(u".zip", Qt::CaseInsensitive);
}

std::vector<std::size_t> listEntryCandidates(const std::vector<std::string> &names)
{
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (endsWithIgnoringCase(baseName(names[i]), ".csv"))
            found.push_back(i);
    }
    return found;
}

// Blocks go round a ring: the thread fills the one after the last filled, the
// reader empties the oldest, and each touches a block only while the other
// cannot.
struct ZipEntrySource::Prefetch {
    struct Block {
        std::unique_ptr<char[]> bytes{new char[kPrefetchBlockBytes]};
        std::size_t size = 0;
        std::size_t taken = 0;
    };

    std::array<Block, kPrefetchBlocks> blocks;
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t oldest = 0;
    std::size_t filled = 0;
    bool finished = false; // after the last block: the end of the entry or a failure
    bool failed = false;
    bool stop = false;
    std::thread thread;
};

ZipEntrySource::ZipEntrySource() noexcept = default;

ZipEntrySource::~ZipEntrySource()
{
    close();
}

void ZipEntrySource::close() noexcept
{
    if (m_prefetch) {
        {
            const std::lock_guard lock(m_prefetch->mutex);
            m_prefetch->stop = true;
        }
        m_prefetch->changed.notify_all();
        if (m_prefetch->thread.joinable())
            m_prefetch->thread.join();
        m_prefetch.reset();
    }
    if (m_file)
        zip_fclose(m_file);
    m_file = nullptr;
    if (m_archive)
        zip_discard(m_archive);
    m_archive = nullptr;
    m_entryName.clear();
    m_entrySize = 0;
    m_delivered = 0;
}

ZipEntrySource::OpenStatus ZipEntrySource::openFile(const QString &path)
{
    close();
    m_errorText.clear();
    // libzip takes an empty file for an empty archive; it is rather a
    // download that never began.
    if (QFileInfo(path).size() == 0)
        return OpenStatus::Damaged;
    const QByteArray encoded = encodedPath(path);
    int code = ZIP_ER_OK;
    // ZIP_CHECKCONS compares every local header with the central directory,
    // which catches more damage before a byte is inflated.
    m_archive = zip_open(encoded.constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!m_archive) {
        m_errorText = textOfCode(code);
        switch (code) {
        case ZIP_ER_NOENT:
        case ZIP_ER_OPEN:
            // libzip also says "No such file" of an entry's header that lies
            // past the end: only a file that cannot be opened is not there.
            if (QFile file(path); file.open(QIODevice::ReadOnly))
                return OpenStatus::Damaged;
            return OpenStatus::CannotOpen;
        case ZIP_ER_MEMORY:
            return OpenStatus::OutOfMemory;
        default:
            return OpenStatus::Damaged;
        }
    }
    return openEntry();
}

ZipEntrySource::OpenStatus ZipEntrySource::openBytes(std::string_view bytes)
{
    close();
    m_errorText.clear();
    if (bytes.empty())
        return OpenStatus::Damaged;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source)
        m_archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_archive) {
        if (source)
            zip_source_free(source);
        m_errorText = textOf(&error);
        const int code = zip_error_code_zip(&error);
        zip_error_fini(&error);
        return code == ZIP_ER_MEMORY ? OpenStatus::OutOfMemory : OpenStatus::Damaged;
    }
    zip_error_fini(&error);
    return openEntry();
}

ZipEntrySource::OpenStatus ZipEntrySource::openEntry()
{
    const std::vector<std::string> names = rawEntryNames(m_archive);
    const std::vector<std::size_t> candidates = listEntryCandidates(names);
    if (candidates.empty())
        return OpenStatus::NoList;
    if (candidates.size() > 1) {
        QStringList shown;
        for (const std::size_t candidate : candidates)
            shown.append(shownEntryName(m_archive, names, candidate));
        m_entryName = shown.join(u'、');
        return OpenStatus::SeveralLists;
    }
    const auto index = static_cast<zip_uint64_t>(candidates.front());
    m_entryName = shownEntryName(m_archive, names, candidates.front());

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, index, 0, &stat) != 0) {
        m_errorText = textOf(zip_get_error(m_archive));
        return OpenStatus::Damaged;
    }
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        return OpenStatus::Encrypted;
    if ((stat.valid & ZIP_STAT_COMP_METHOD) && !zip_compression_method_supported(stat.comp_method, 0))
        return OpenStatus::Unsupported;
    if (!(stat.valid & ZIP_STAT_SIZE)) {
        m_errorText = textOf(zip_get_error(m_archive));
        return OpenStatus::Damaged;
    }
    // The size from the archive is only a claim, and read() holds the entry
    // to it; refusing a large claim here spares inflating it.
    if (stat.size > static_cast<zip_uint64_t>(kMaxListFileBytes)) {
        constexpr auto kLargest = static_cast<zip_uint64_t>(std::numeric_limits<std::int64_t>::max());
        m_entrySize = static_cast<std::int64_t>(std::min(stat.size, kLargest));
        return OpenStatus::TooLarge;
    }
    m_entrySize = static_cast<std::int64_t>(stat.size);

    m_file = zip_fopen_index(m_archive, index, 0);
    if (!m_file) {
        zip_error_t *error = zip_get_error(m_archive);
        m_errorText = textOf(error);
        switch (zip_error_code_zip(error)) {
        case ZIP_ER_NOPASSWD:
        case ZIP_ER_ENCRNOTSUPP:
        case ZIP_ER_WRONGPASSWD:
            return OpenStatus::Encrypted;
        case ZIP_ER_COMPNOTSUPP:
            return OpenStatus::Unsupported;
        case ZIP_ER_MEMORY:
            return OpenStatus::OutOfMemory;
        default:
            return OpenStatus::Damaged;
        }
    }
    m_delivered = 0;
    if (m_entrySize > static_cast<std::int64_t>(kPrefetchBlockBytes)) {
        try {
            m_prefetch = std::make_unique<Prefetch>();
            m_prefetch->thread = std::thread([this] { prefetchLoop(); });
        } catch (const std::bad_alloc &) {
            m_prefetch.reset();
        } catch (const std::system_error &) {
            // Without a thread the entry is inflated as it is read.
            m_prefetch.reset();
        }
    }
    return OpenStatus::Opened;
}

void ZipEntrySource::prefetchLoop()
{
    Prefetch &p = *m_prefetch;
    for (std::size_t next = 0;; next = (next + 1) % kPrefetchBlocks) {
        {
            std::unique_lock lock(p.mutex);
            p.changed.wait(lock, [&p] { return p.stop || p.filled < kPrefetchBlocks; });
            if (p.stop)
                return;
        }
        Prefetch::Block &block = p.blocks[next];
        const std::int64_t count = inflate(block.bytes.get(), kPrefetchBlockBytes);
        {
            const std::lock_guard lock(p.mutex);
            if (count > 0) {
                block.size = static_cast<std::size_t>(count);
                block.taken = 0;
                ++p.filled;
            } else {
                p.finished = true;
                p.failed = count < 0;
            }
        }
        p.changed.notify_all();
        if (count <= 0)
            return;
    }
}

std::int64_t ZipEntrySource::read(char *into, std::size_t capacity)
{
    if (!m_prefetch)
        return inflate(into, capacity);
    Prefetch &p = *m_prefetch;
    {
        std::unique_lock lock(p.mutex);
        p.changed.wait(lock, [&p] { return p.filled > 0 || p.finished; });
        if (p.filled == 0)
            return p.failed ? -1 : 0;
    }
    Prefetch::Block &block = p.blocks[p.oldest];
    const std::size_t count = std::min(capacity, block.size - block.taken);
    std::memcpy(into, block.bytes.get() + block.taken, count);
    block.taken += count;
    if (block.taken == block.size) {
        {
            const std::lock_guard lock(p.mutex);
            p.oldest = (p.oldest + 1) % kPrefetchBlocks;
            --p.filled;
        }
        p.changed.notify_all();
    }
    return static_cast<std::int64_t>(count);
}

std::int64_t ZipEntrySource::inflate(char *into, std::size_t capacity)
{
    if (!m_file)
        return -1;
    // One byte past the recorded size is enough to catch an entry that
    // inflates to more than it claims, so a forged size never lets more than
    // that through, however far the data would go on.
    const auto allowed = static_cast<std::uint64_t>(m_entrySize - m_delivered) + 1;
    const zip_int64_t count = zip_fread(m_file, into, std::min<std::uint64_t>(capacity, allowed));
    if (count < 0) {
        m_errorText = textOf(zip_file_get_error(m_file));
        return -1;
    }
    m_delivered += count;
    if (m_delivered > m_entrySize || (count == 0 && m_delivered < m_entrySize)) {
        m_errorText =
            QStringLiteral("展開した大きさが、圧縮ファイルに記録された %1 バイトと合いません").arg(m_entrySize);
        return -1;
    }
    return count;
}

bool ZipEntrySource::confirmIntact()
{
    // The CRC is checked when the entry's last byte is read.
    char scratch[16 * 1024];
    std::int64_t count = 0;
    while ((count = read(scratch, sizeof scratch)) > 0) {
    }
    return count == 0;
}

ListError ZipEntrySource::readError(ListKind kind, const QString &nameForMessages, std::int64_t offset,
                                    int keptRecords) const
{
    return damagedEntryError(kind, nameForMessages, offset, m_errorText, keptRecords);
}

} // namespace torumin
