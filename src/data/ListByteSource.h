#pragma once

#include "data/PostalListReader.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#ifndef Q_OS_UNIX
class QFile;
#endif

namespace torumin {

// Where the list reader gets its bytes: a file read in chunks, or bytes
// already in memory.
class ListByteSource {
public:
    virtual ~ListByteSource() = default;

    // Copies up to `capacity` bytes to `into`: the count, 0 at the end, or -1
    // on an I/O error (errorText() then says what happened).
    virtual std::int64_t read(char *into, std::size_t capacity) = 0;
    // The expected total size, for sizing the table once; 0 when unknown.
    [[nodiscard]] virtual std::int64_t sizeHint() const = 0;
    [[nodiscard]] virtual QString errorText() const { return {}; }
    // The user's message for a failed read(): an I/O error unless the source
    // knows better.
    [[nodiscard]] virtual ListError readError(ListKind kind, const QString &nameForMessages, std::int64_t offset,
                                              int keptRecords) const;
    // Whether the records read before a failed read() can be kept. Not when
    // the failure may have spoilt bytes already handed out, as a checksum
    // found wrong at the end of an archive entry has.
    [[nodiscard]] virtual bool recordsBeforeFailureAreSound() const { return true; }
    // For a source that can only tell at its end whether its bytes were
    // sound: reads what is left and says whether they were (errorText() then
    // says why not), so that damage is not reported as a problem of the
    // list. Others have nothing to check.
    [[nodiscard]] virtual bool confirmIntact() { return true; }
};

class MemoryByteSource final : public ListByteSource {
public:
    // Without `reportSize` the reader gets no size hint, which tests use to
    // make the table grow.
    explicit MemoryByteSource(std::string_view bytes, bool reportSize = true) noexcept
        : m_bytes(bytes), m_reportSize(reportSize)
    {
    }

    std::int64_t read(char *into, std::size_t capacity) override;
    [[nodiscard]] std::int64_t sizeHint() const override;

private:
    std::string_view m_bytes;
    std::size_t m_position = 0;
    bool m_reportSize;
};

// No more than the first `limit` bytes of another source.
class LimitedByteSource final : public ListByteSource {
public:
    LimitedByteSource(ListByteSource &inner, std::int64_t limit) noexcept : m_inner(inner), m_left(limit) {}

    std::int64_t read(char *into, std::size_t capacity) override;
    [[nodiscard]] std::int64_t sizeHint() const override { return std::min(m_inner.sizeHint(), m_left); }
    [[nodiscard]] QString errorText() const override { return m_inner.errorText(); }

private:
    ListByteSource &m_inner;
    std::int64_t m_left;
};

// A list file. Opening refuses anything but a regular file before a single
// byte is read: opening a FIFO for reading would wait for a writer, and a
// device may never end.
class FileByteSource final : public ListByteSource {
public:
    enum class OpenStatus { Opened, Missing, IsFolder, NotRegularFile, NoPermission, OtherError };

    FileByteSource() noexcept = default;
    ~FileByteSource() override;
    FileByteSource(const FileByteSource &) = delete;
    FileByteSource &operator=(const FileByteSource &) = delete;

    OpenStatus open(const QString &path);
    // The size found at opening.
    [[nodiscard]] std::int64_t fileSize() const noexcept { return m_size; }
    // Copies up to `capacity` bytes from `offset` (or the start) without
    // moving the read position: the count, or -1 on an error.
    std::int64_t peekAt(char *into, std::size_t capacity, std::int64_t offset);
    std::int64_t peek(char *into, std::size_t capacity) { return peekAt(into, capacity, 0); }
    // Moves the read position to `offset` from the start.
    [[nodiscard]] bool seek(std::int64_t offset);

    std::int64_t read(char *into, std::size_t capacity) override;
    [[nodiscard]] std::int64_t sizeHint() const override { return m_size; }
    [[nodiscard]] QString errorText() const override { return m_errorText; }

private:
    void close() noexcept;

    std::int64_t m_size = 0;
    QString m_errorText;
#ifdef Q_OS_UNIX
    int m_fd = -1;
#else
    QFile *m_file = nullptr;
#endif
};

} // namespace torumin
