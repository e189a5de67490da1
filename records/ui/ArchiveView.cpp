// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ui/ArchiveView.h"

#include "platform/FileIo.h"
#include "platform/IoError.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "records/ui/FileTextView.h"
#include "records/ui/RecordFiles.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zolbin {

TfmArchive::TfmArchive(const DataFolder& folder, QWidget* parent) : TDialog(parent), folder_(folder)
{
    setWindowTitle(tr("Архив"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    btnChoice = new QPushButton(tr("Вы&бор"));
    btnChoice->setObjectName(QStringLiteral("btnChoice"));
    btnCancel = new QPushButton(tr("В&ыход"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {btnChoice, btnCancel}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }

    // A vertical scroll bar only: long lines wrap.
    RichEdit = new FileTextView;
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setFixedSize(420, 300);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RichEdit);
    layout->addLayout(buttons);

    useOk(
        btnChoice, [this] { btnChoiceClick(); }, EnterKey::Ignored);
    useCancel(btnCancel);
    connect(RichEdit, &FileTextView::loadFailed, this,
            [](int err) { Prompts::message(ioErrorText(ioCodeFromErrno(err)).shown()); });

    fixSize();
}

// The same file the archive writer appends to; a name it would refuse is refused here in the same way.
void TfmArchive::FormActivate()
{
    RichEdit->clearView();
    const std::string path = ArchiveFileOf(folder_, ArchiveName);
    if (path.empty()) {
        Prompts::message(ioErrorText(IoCode::PathNotFound).shown());
        return;
    }
    if (!fileExists(path)) {
        Prompts::message(ArchiveNotFoundText(ArchiveName));
        return;
    }
    if (const int err = RichEdit->load(path); err != 0)
        Prompts::message(ioErrorText(ioCodeFromErrno(err)).shown());
}

void TfmArchive::btnChoiceClick()
{
    if (!RichEdit->textCursor().hasSelection()) {
        Prompts::message(tr("Блок не найден."));
        return;
    }
    QGuiApplication::clipboard()->setText(RichEdit->selectedPlainText());
    done(QDialog::Accepted);
}

void TfmArchive::hideEvent(QHideEvent* event)
{
    RichEdit->clearView();
    TDialog::hideEvent(event);
}

} // namespace zolbin
