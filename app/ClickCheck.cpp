// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ClickCheck.h"

#include <QAbstractItemView>

namespace zolbin {

namespace {

// The list's own delegate turns the operator's clicks and the space key into tick changes; it is the
// one place where they happen, so a change seen there is the operator's.
class ClickCheckDelegate final : public QStyledItemDelegate
{
public:
    ClickCheckDelegate(std::function<void(int)> handler, QObject* parent)
        : QStyledItemDelegate(parent), handler_(std::move(handler))
    {
    }

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        const QVariant before = index.data(Qt::CheckStateRole);
        const bool handled = QStyledItemDelegate::editorEvent(event, model, option, index);
        if (index.isValid() && index.data(Qt::CheckStateRole) != before) {
            // The line ticked by its box becomes the current one, as a click on its name makes it.
            if (auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(option.widget));
                view != nullptr && view->currentIndex() != index)
                view->setCurrentIndex(index);
            handler_(index.row());
        }
        return handled;
    }

private:
    std::function<void(int)> handler_;
};

} // namespace

void onClickCheck(QAbstractItemView* list, std::function<void(int)> handler)
{
    list->setItemDelegate(new ClickCheckDelegate(std::move(handler), list));
}

} // namespace zolbin
