// SPDX-License-Identifier: GPL-3.0-or-later
// The queue window's size: its columns as wide as their titles or typical values, about a dozen rows.
#include "platform/ui/UiText.h"
#include "records/ui/QueueModel.h"
#include "records/ui/QueueWindow.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <algorithm>

namespace zolbin {

namespace {

constexpr int RowsShown = 12;

} // namespace

// Each column as wide as its title or a typical value; about a dozen rows. The window takes the size its
// layout asks for that, within the screen, and the operator may resize it. The samples of the data are
// never shown: only their widths count.
void TfmQueue::sizeToColumns()
{
    const QString samples[QueueModel::ColumnCount] = {
        QStringLiteral("00.00.0000 00:00:00"),
        uiText("Константинопольский К."),
        uiText("Срочно приезжайте в офис"),
        uiText("Мобильная связь"),
        QueueModel::stateText(PageState::Waiting),
        model_->headerData(QueueModel::Attempts, Qt::Horizontal).toString(),
        QStringLiteral("00.00.0000 00:00"),
        QStringLiteral("desk-01"),
        QStringLiteral("desk-01/12345"),
        uiText("421 Сервер временно недоступен")};
    QHeaderView* header = gridQueue->horizontalHeader();
    const int picture = gridQueue->style()->pixelMetric(QStyle::PM_SmallIconSize) + 8;
    int width = 0;
    fitting_ = true;
    for (int column = 0; column < QueueModel::ColumnCount; ++column) {
        const int text = gridQueue->fontMetrics().horizontalAdvance(samples[column]) + 16 +
                         (column == QueueModel::State ? picture : 0);
        header->resizeSection(column, std::max(text, header->sectionSizeHint(column)));
        width += header->sectionSize(column);
    }
    fitting_ = false;
    const int frame = 2 * gridQueue->frameWidth();
    const QSize table(width + frame + gridQueue->verticalScrollBar()->sizeHint().width(),
                      header->sizeHint().height() +
                          RowsShown * gridQueue->verticalHeader()->defaultSectionSize() + frame);
    const QSize least = gridQueue->minimumSize();
    gridQueue->setMinimumSize(table);
    layout()->activate();
    QSize size = sizeHint();
    gridQueue->setMinimumSize(least);
    layout()->activate();
    // Room is left for the window's frame and title.
    if (const QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen())
        size =
            size.boundedTo(where->availableGeometry().size() - QSize(16, 48)).expandedTo(minimumSizeHint());
    resize(size);
}

void TfmQueue::fitColumns()
{
    if (sizedByHand_ || model_->rowCount() == 0)
        return;
    const int widest = 40 * gridQueue->fontMetrics().averageCharWidth();
    fitting_ = true;
    for (int column = 0; column < QueueModel::ColumnCount - 1; ++column) {
        gridQueue->resizeColumnToContents(column);
        if (gridQueue->columnWidth(column) > widest)
            gridQueue->setColumnWidth(column, widest);
    }
    fitting_ = false;
}

} // namespace zolbin
