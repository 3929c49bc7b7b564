#include "ui/dialogs/CandidateListModel.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QSize>

#include <algorithm>
#include <vector>

namespace torumin {

namespace {

// How many of the widest lines by the quick estimate get measured exactly.
constexpr std::size_t kMeasuredExactly = 24;
// Room for the view's own item margins either side of the text.
constexpr int kItemPadding = 12;

} // namespace

CandidateListModel::CandidateListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

int CandidateListModel::widestLine(const QStringList &lines, const QFont &font)
{
    if (lines.isEmpty())
        return 0;
    const QFontMetrics metrics(font);
    QHash<char16_t, int> advances;
    std::vector<std::pair<int, qsizetype>> estimates;
    estimates.reserve(static_cast<std::size_t>(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        int width = 0;
        for (const QChar ch : lines.at(i)) {
            auto it = advances.find(ch.unicode());
            if (it == advances.end())
                it = advances.insert(ch.unicode(), metrics.horizontalAdvance(ch));
            width += it.value();
        }
        estimates.emplace_back(width, i);
    }
    const std::size_t exact = std::min(kMeasuredExactly, estimates.size());
    std::partial_sort(estimates.begin(), estimates.begin() + static_cast<std::ptrdiff_t>(exact), estimates.end(),
                      [](const auto &a, const auto &b) { return a.first > b.first; });
    int widest = 0;
    for (std::size_t i = 0; i < exact; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(lines.at(estimates[i].second)));
    return widest;
}

void CandidateListModel::setLines(QStringList lines, const QFont &font)
{
    beginResetModel();
    m_lines = std::move(lines);
    m_widest = widestLine(m_lines, font);
    m_preferredRowHeight = QFontInfo(font).pixelSize() + 3;
    m_rowHeight = m_preferredRowHeight;
    endResetModel();
}

void CandidateListModel::setRowHeight(int pixels)
{
    if (pixels == m_rowHeight)
        return;
    m_rowHeight = pixels;
    Q_EMIT layoutAboutToBeChanged();
    Q_EMIT layoutChanged();
}

int CandidateListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant CandidateListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_lines.at(index.row());
    case Qt::SizeHintRole:
        return QSize(m_widest + kItemPadding, m_rowHeight);
    default:
        return {};
    }
}

} // namespace torumin
