// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read-only view of a text file (the journal, an archive) that shows files of any size without
// holding the window still: the file is read in slices from the event loop, each slice short enough
// for the window to paint and answer between them.

#include "records/ui/RecordFiles.h"

#include <QPlainTextEdit>
#include <QTimer>
#include <string>

namespace zolbin {

class FileTextView final : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit FileTextView(QWidget* parent = nullptr);

    // Empties the view and starts showing the file. Returns 0, or the errno of the failed opening
    // (the view stays empty). The first slice is shown at once, the rest follows from the event loop.
    int load(const std::string& path);
    // Stops loading; what is shown stays.
    void stop();
    // Stops loading and empties the view.
    void clearView();
    bool loading() const { return slices_.isActive(); }

    // The selected text with plain line breaks.
    QString selectedPlainText() const;

signals:
    // A read failed part-way: the view has been emptied.
    void loadFailed(int err);
    void loaded();

private:
    void loadSlice();

    ChunkReader reader_;
    QTimer slices_;
};

} // namespace zolbin
