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

std::vector<int> CandidateListModel::estimatedWidths(const QStringList &lines, const QFont &font)
{
    const QFontMetrics metrics(font);
    QHash<char16_t, int> advances;
    std::vector<int> estimates;
    estimates.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString &line : lines) {
        int width = 0;
        for (const QChar ch : line) {
            auto it = advances.find(ch.unicode());
            if (it == advances.end())
                it = advances.insert(ch.unicode(), metrics.horizontalAdvance(ch));
            width += it.value();
        }
        estimates.push_back(width);
    }
    return estimates;
}

int CandidateListModel::widestLine(const QStringList &lines, const std::vector<int> &estimates, const QFont &font)
{
    if (lines.isEmpty() || estimates.size() != static_cast<std::size_t>(lines.size()))
        return 0;
    std::vector<std::pair<int, qsizetype>> order;
    order.reserve(estimates.size());
    for (std::size_t i = 0; i < estimates.size(); ++i)
        order.emplace_back(estimates[i], static_cast<qsizetype>(i));
    const std::size_t exact = std::min(kMeasuredExactly, order.size());
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(exact), order.end(),
                      [](const auto &a, const auto &b) { return a.first > b.first; });
    const QFontMetrics metrics(font);
    int widest = 0;
    for (std::size_t i = 0; i < exact; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(lines.at(order[i].second)));
    return widest;
}

int CandidateListModel::widestLine(const QStringList &lines, const QFont &font)
{
    return widestLine(lines, estimatedWidths(lines, font), font);
}

void CandidateListModel::setLines(QStringList lines, const QFont &font, std::optional<int> widestPixels)
{
    beginResetModel();
    m_lines = std::move(lines);
    m_widest = widestPixels ? *widestPixels : widestLine(m_lines, font);
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
