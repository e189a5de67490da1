// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's tick lists: one line per subscriber ("Name -- Number") and one per group (its name),
// each with an empty tick box, in list order.
//
// A list of 100,000 subscribers must stay cheap to build and to hold, so a line keeps no text of its
// own: the list holds every line's text (cp1251) in one block, and a line holds its place in that block
// and its tick. To the window and to the toolkit it is an ordinary list item (text, tick, flags).

#include <QListWidget>
#include <cstdint>
#include <string>
#include <vector>

namespace zolbin {

class TAbonentList;
class TGroupList;

class TickList final : public QListWidget
{
public:
    explicit TickList(QWidget* parent = nullptr);

    // Empties the list and fills it with the lines, every one unticked.
    void setLines(std::string text, std::vector<std::uint32_t> ends);
    // The text of line `line` as it was when the list was filled.
    QString lineText(std::uint32_t line) const;
    // Whether the line is shown cut (its text wider than the room the line has); a cut line shows
    // whole in its tooltip. Long lines are cut in the middle, so a subscriber's number stays in sight.
    bool lineCut(int row) const;

protected:
    bool viewportEvent(QEvent* event) override;

private:
    std::string text_;                // every line, one after the other
    std::vector<std::uint32_t> ends_; // where each line ends in text_
};

void FillAbonentLines(TickList* list, const TAbonentList& abonents);
void FillGroupLines(TickList* list, const TGroupList& groups);

} // namespace zolbin
