// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's tick lists: one line per subscriber ("Name -- Number") and one per group (its name),
// each with an empty tick box, in list order.
//
// A list of 100,000 subscribers must stay cheap to build and to hold, so the list keeps no line of its
// own: a view (TickList) over a model (TickLines) that reads each line's text from its record when the
// line is shown and keeps one tick bit per line. All lines have one height, measured once.

#include <QAbstractListModel>
#include <QListView>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zolbin {

class TAbonentList;
class TGroupList;

class TickLines final : public QAbstractListModel
{
public:
    // The text of a line, cp1251; called only for rows below the count.
    using LineText = std::function<std::string(int row)>;

    explicit TickLines(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // Replaces the lines: `count` of them, every one unticked; the views read them afresh.
    void setLines(int count, LineText text);

    bool ticked(int row) const;
    // Sets the tick of one line; the views are told of that line.
    void setTicked(int row, bool on);
    int tickedCount() const { return ticked_; }
    // Unticks every line but `except` (-1: every line), looking only at the ticked ones.
    void untickAll(int except = -1);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int count_ = 0;
    LineText text_;
    std::vector<std::uint64_t> bits_; // one tick bit per line
    int ticked_ = 0;
};

class TickList final : public QListView
{
public:
    explicit TickList(QWidget* parent = nullptr);

    TickLines* lines() const { return lines_; }
    int count() const { return lines_->rowCount(); }
    bool ticked(int row) const { return lines_->ticked(row); }
    void setTicked(int row, bool on) { lines_->setTicked(row, on); }
    // The current line (-1: none); setting it selects it and scrolls it into sight.
    int currentRow() const;
    void setCurrentRow(int row);
    // The current line while it is selected (highlighted); -1 otherwise.
    int highlightedRow() const;
    QString lineText(int row) const;
    QRect lineRect(int row) const;
    // Whether the line is shown cut (its text wider than the room the line has); a cut line shows
    // whole in its tooltip. Long lines are cut in the middle, so a subscriber's number stays in sight.
    bool lineCut(int row) const;

protected:
    bool viewportEvent(QEvent* event) override;

private:
    TickLines* lines_;
};

// The lines read the records of the list given, which must outlive them (the session's lists do).
void FillAbonentLines(TickList* list, const TAbonentList& abonents);
void FillGroupLines(TickList* list, const TGroupList& groups);

} // namespace zolbin
