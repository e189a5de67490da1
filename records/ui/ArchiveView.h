// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The archive viewer "Архив": the pages sent to one subscriber, read-only, from which the operator can
// pick a block for the message editor ("Вы&бор" puts it on the clipboard and closes with result 1). Its
// controls carry their design names as object names.

#include "platform/DataFolder.h"
#include "platform/ui/Dialog.h"

#include <string>

class QPushButton;

namespace zolbin {

class FileTextView;

class TfmArchive final : public TDialog
{
    Q_OBJECT
public:
    // Shows the archives of the data folder.
    explicit TfmArchive(const DataFolder& folder, QWidget* parent = nullptr);

    // The subscriber whose archive the next opening shows (cp1251).
    void SetArchiveName(const std::string& name) { ArchiveName = name; }

    // On opening: the subscriber's archive afresh, or the message that there is none.
    void FormActivate() override;
    void btnChoiceClick();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    FileTextView* RichEdit = nullptr;
    QPushButton* btnChoice = nullptr; // "Вы&бор"
    QPushButton* btnCancel = nullptr; // "В&ыход"
    DataFolder folder_;
    std::string ArchiveName;
};

} // namespace zolbin
