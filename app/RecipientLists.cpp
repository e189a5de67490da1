// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecipientLists.h"

#include "directory/Lists.h"
#include "platform/Codepage.h"

#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QStyle>
#include <QToolTip>
#include <bit>

namespace zolbin {

namespace {

constexpr int WordBits = 64;

} // namespace

void TickLines::setLines(int count, LineText text)
{
    beginResetModel();
    count_ = count < 0 ? 0 : count;
    text_ = std::move(text);
    bits_.assign(static_cast<std::size_t>((count_ + WordBits - 1) / WordBits), 0);
    bits_.shrink_to_fit();
    ticked_ = 0;
    endResetModel();
}

bool TickLines::ticked(int row) const
{
    if (row < 0 || row >= count_)
        return false;
    return (bits_[static_cast<std::size_t>(row / WordBits)] >> (row % WordBits)) & 1U;
}

void TickLines::setTicked(int row, bool on)
{
    if (row < 0 || row >= count_ || ticked(row) == on)
        return;
    std::uint64_t& word = bits_[static_cast<std::size_t>(row / WordBits)];
    word ^= std::uint64_t{1} << (row % WordBits);
    ticked_ += on ? 1 : -1;
    const QModelIndex line = index(row);
    emit dataChanged(line, line, {Qt::CheckStateRole});
}

void TickLines::untickAll(int except)
{
    for (std::size_t w = 0; w < bits_.size() && ticked_ > (ticked(except) ? 1 : 0); ++w)
        for (std::uint64_t word = bits_[w]; word != 0; word &= word - 1) {
            const int row = static_cast<int>(w) * WordBits + std::countr_zero(word);
            if (row != except)
                setTicked(row, false);
        }
}

int TickLines::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

QVariant TickLines::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count_)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text_ ? toQString(text_(index.row())) : QString();
    case Qt::CheckStateRole:
        return static_cast<int>(ticked(index.row()) ? Qt::Checked : Qt::Unchecked);
    default:
        return {};
    }
}

bool TickLines::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole)
        return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags TickLines::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
}

TickList::TickList(QWidget* parent) : QListView(parent), lines_(new TickLines(this))
{
    setModel(lines_);
    // Every line is one text line of the same font: the view measures one, not each of them.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTextElideMode(Qt::ElideMiddle);
}

int TickList::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TickList::setCurrentRow(int row)
{
    const QModelIndex line = lines_->index(row);
    if (!line.isValid())
        return;
    setCurrentIndex(line);
    scrollTo(line);
}

int TickList::highlightedRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

QString TickList::lineText(int row) const
{
    return lines_->index(row).data(Qt::DisplayRole).toString();
}

QRect TickList::lineRect(int row) const
{
    return visualRect(lines_->index(row));
}

bool TickList::lineCut(int row) const
{
    const QModelIndex index = lines_->index(row);
    if (!index.isValid())
        return false;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data(Qt::DisplayRole).toString();
    const QRect room = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    return option.fontMetrics.horizontalAdvance(option.text) > room.width() - 2;
}

bool TickList::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid() && lineCut(index.row()))
            QToolTip::showText(help->globalPos(), index.data(Qt::DisplayRole).toString(), viewport(),
                               visualRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QListView::viewportEvent(event);
}

void FillAbonentLines(TickList* list, const TAbonentList& abonents)
{
    list->lines()->setLines(abonents.Count(), [&abonents](int row) {
        if (row >= abonents.Count())
            return std::string();
        const TAbonent& a = *abonents.Items(row);
        std::string line(a.Name.view());
        line += DisplaySuffix(a.Number).view();
        return line;
    });
}

void FillGroupLines(TickList* list, const TGroupList& groups)
{
    list->lines()->setLines(groups.Count(), [&groups](int row) {
        return row < groups.Count() ? groups.Items(row)->Name.str() : std::string();
    });
}

} // namespace zolbin
