#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QStringList>

#include <optional>
#include <vector>

namespace torumin {

// The candidate lines for a list view. Every row reports the width of the
// widest line, so a view with uniform item sizes (which asks only the first
// row) scrolls sideways far enough for every line while measuring nothing
// itself: thousands of lines open at once.
class CandidateListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    explicit CandidateListModel(QObject *parent = nullptr);

    // Replaces the lines; their widths are measured in this font, unless the
    // caller knows the widest already (widestLine() with estimates it keeps).
    void setLines(QStringList lines, const QFont &font, std::optional<int> widestPixels = std::nullopt);
    [[nodiscard]] const QStringList &lines() const { return m_lines; }
    [[nodiscard]] int widestLinePixels() const { return m_widest; }

    // Rows as tight as the glyphs (the window's heights were designed for
    // about one em a row, and CJK fonts report a much taller line than they
    // draw); the view may ask for rows a little taller or tighter so that a
    // whole number of them fills it.
    [[nodiscard]] int preferredRowHeight() const { return m_preferredRowHeight; }
    [[nodiscard]] int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int pixels);

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The width in pixels of the widest line: character advances are summed
    // (one measurement per distinct character), and the few widest lines by
    // that estimate are then measured whole, kerning included.
    [[nodiscard]] static int widestLine(const QStringList &lines, const QFont &font);
    // The same in two steps, for a window that shows ever other subsets of
    // one set of lines: the estimates once, then the widest of any subset.
    [[nodiscard]] static std::vector<int> estimatedWidths(const QStringList &lines, const QFont &font);
    [[nodiscard]] static int widestLine(const QStringList &lines, const std::vector<int> &estimates,
                                        const QFont &font);

private:
    QStringList m_lines;
    int m_widest = 0;
    int m_preferredRowHeight = 0;
    int m_rowHeight = 0;
};

} // namespace torumin
