#pragma once

#include "data/ListByteSource.h"

#include <QDateTime>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct zip;
struct zip_file;

namespace torumin {

// Whether bytes at the start of a file begin a zip archive: a local file
// header, or the end record alone of an archive with nothing in it.
[[nodiscard]] bool startsLikeZipArchive(std::string_view firstBytes) noexcept;

// Whether a list file is to be read as an archive. The content decides, so
// that a downloaded archive reads whatever it was renamed to; the name only
// catches a file that was meant to be an archive and no longer looks like
// one, which deserves that message rather than one about its characters.
[[nodiscard]] bool isListArchive(std::string_view firstBytes, const QString &name);

// Which of an archive's entries, given by their raw names in archive order,
// could be the list: those whose name ends in ".csv" (in any case). The list
// is the one such entry; with several, guessing could load the wrong file.
[[nodiscard]] std::vector<std::size_t> listEntryCandidates(const std::vector<std::string> &names);

// What an archive's directory says about the list in it, read without
// inflating a byte.
struct ZipListSummary {
    bool readable = false;  // a zip archive libzip could open
    QString errorText;      // why not, when it is not
    int csvEntries = 0;     // entries whose name ends in ".csv", in any case
    QString entryName;      // the list's, when it has exactly one
    QDateTime entryTime;    // the time recorded for it; invalid when none
};
[[nodiscard]] ZipListSummary summarizeListArchive(const QString &path);

// The list inside a zip archive, inflated as it is read, never unpacked to
// disk. libzip does the archive work and checks the entry's CRC at its end.
//
// Inflating the nationwide list costs about two thirds of parsing it, so a
// large entry is inflated on a thread of its own a few blocks ahead of the
// parser, and on two cores the archive loads little slower than the bare list.
class ZipEntrySource final : public ListByteSource {
public:
    enum class OpenStatus {
        Opened,
        CannotOpen,   // the file vanished or cannot be read
        Damaged,      // not a zip archive, or a broken one
        NoList,       // no .csv entry
        SeveralLists, // more than one .csv entry: entryName() names them all
        Encrypted,
        Unsupported,  // compressed by a method libzip was built without
        TooLarge,     // the entry says it unpacks to more than kMaxListFileBytes
        OutOfMemory,
    };

    ZipEntrySource() noexcept;
    ~ZipEntrySource() override;
    ZipEntrySource(const ZipEntrySource &) = delete;
    ZipEntrySource &operator=(const ZipEntrySource &) = delete;

    OpenStatus openFile(const QString &path);
    // `bytes` must outlive the source.
    OpenStatus openBytes(std::string_view bytes);

    // The list's entry, once one was found; for SeveralLists, every
    // candidate's name separated by "、".
    [[nodiscard]] QString entryName() const { return m_entryName; }
    // The unpacked size the archive records for it.
    [[nodiscard]] std::int64_t entrySize() const noexcept { return m_entrySize; }

    std::int64_t read(char *into, std::size_t capacity) override;
    [[nodiscard]] std::int64_t sizeHint() const override { return m_entrySize; }
    [[nodiscard]] QString errorText() const override { return m_errorText; }
    [[nodiscard]] ListError readError(ListKind kind, const QString &nameForMessages, std::int64_t offset,
                                      int keptRecords) const override;
    // A broken entry shows it at any point, its checksum only at the end.
    [[nodiscard]] bool recordsBeforeFailureAreSound() const override { return false; }
    [[nodiscard]] bool confirmIntact() override;

private:
    struct Prefetch;

    OpenStatus openEntry();
    void close() noexcept;
    // The next inflated bytes, straight from libzip.
    std::int64_t inflate(char *into, std::size_t capacity);
    void prefetchLoop();

    std::unique_ptr<Prefetch> m_prefetch; // none for a small entry
    zip *m_archive = nullptr;
    zip_file *m_file = nullptr;
    QString m_entryName;
    QString m_errorText;
    std::int64_t m_entrySize = 0;
    std::int64_t m_delivered = 0;
};

} // namespace torumin
