// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecipientLists.h"

#include "directory/Lists.h"
#include "platform/Codepage.h"

#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace zolbin {

namespace {

// One line of a TickList: its place among the list's lines and its tick, packed in the item's spare
// bytes. Text set by anyone else is kept by the item as usual and wins.
class TickLine final : public QListWidgetItem
{
public:
    explicit TickLine(std::uint32_t line) : packed_(line << StateBits) {}

    QVariant data(int role) const override
    {
        if (role == Qt::CheckStateRole)
            return static_cast<int>(packed_ & StateMask);
        QVariant own = QListWidgetItem::data(role);
        if (own.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return own;
        const auto* list = dynamic_cast<const TickList*>(listWidget());
        return list != nullptr ? QVariant(list->lineText(packed_ >> StateBits)) : QVariant();
    }

    void setData(int role, const QVariant& value) override
    {
        if (role != Qt::CheckStateRole) {
            QListWidgetItem::setData(role, value);
            return;
        }
        const auto state = static_cast<std::uint32_t>(value.toInt()) & StateMask;
        if (state == (packed_ & StateMask))
            return;
        packed_ = (packed_ & ~StateMask) | state;
        setFlags(flags()); // tells the list that the item changed
    }

    static constexpr unsigned StateBits = 2;
    static constexpr std::uint32_t StateMask = (1U << StateBits) - 1;

private:
    std::uint32_t packed_; // line << StateBits | Qt::CheckState
};

} // namespace

TickList::TickList(QWidget* parent) : QListWidget(parent)
{
    // Every line is one text line of the same font: the list measures one, not each of them.
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideMiddle);
}

bool TickList::lineCut(int row) const
{
    if (row < 0 || row >= count())
        return false;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = model()->index(row, 0);
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
    return QListWidget::viewportEvent(event);
}

void TickList::setLines(std::string text, std::vector<std::uint32_t> ends)
{
    clear();
    text_ = std::move(text);
    ends_ = std::move(ends);
    // The view is not told of each line as it comes: it reads the filled list once, as after a reset.
    QAbstractItemModel* lines = model();
    const bool wasBlocked = lines->blockSignals(true);
    for (std::size_t i = 0; i < ends_.size(); ++i)
        addItem(new TickLine(static_cast<std::uint32_t>(i)));
    lines->blockSignals(wasBlocked);
    reset();
}

QString TickList::lineText(std::uint32_t line) const
{
    if (line >= ends_.size())
        return {};
    const std::uint32_t begin = line == 0 ? 0 : ends_[line - 1];
    return toQString(std::string_view(text_).substr(begin, ends_[line] - begin));
}

// The text is sized before it is written: a doubling string would hold up to twice its bytes at once.
void FillAbonentLines(TickList* list, const TAbonentList& abonents)
{
    std::size_t size = 0;
    for (const AbonentPtr& a : abonents)
        size += a->Name.view().size() + DisplaySuffix(a->Number).view().size();
    std::string text;
    text.reserve(size);
    std::vector<std::uint32_t> ends;
    ends.reserve(static_cast<std::size_t>(abonents.Count()));
    for (const AbonentPtr& a : abonents) {
        text += a->Name.view();
        text += DisplaySuffix(a->Number).view();
        ends.push_back(static_cast<std::uint32_t>(text.size()));
    }
    list->setLines(std::move(text), std::move(ends));
}

void FillGroupLines(TickList* list, const TGroupList& groups)
{
    std::size_t size = 0;
    for (const GroupPtr& g : groups)
        size += g->Name.view().size();
    std::string text;
    text.reserve(size);
    std::vector<std::uint32_t> ends;
    ends.reserve(static_cast<std::size_t>(groups.Count()));
    for (const GroupPtr& g : groups) {
        text += g->Name.view();
        ends.push_back(static_cast<std::uint32_t>(text.size()));
    }
    list->setLines(std::move(text), std::move(ends));
}

} // namespace zolbin
