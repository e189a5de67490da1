// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ui/LogView.h"

#include "platform/FileIo.h"
#include "platform/IoError.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "records/Journal.h"
#include "records/Session.h"
#include "records/ui/FileTextView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zolbin {

TfmLogView::TfmLogView(const Session& session, QWidget* parent) : TDialog(parent), journal_(session.journal)
{
    setWindowTitle(tr("Журнал работы"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    // Both scroll bars: journal lines are shown whole, never wrapped.
    RichEdit = new FileTextView;
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit->setFixedSize(560, 340);

    btnCancel = new QPushButton(tr("В&ыход"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RichEdit);
    layout->addLayout(buttons);

    useCancel(btnCancel);
    connect(RichEdit, &FileTextView::loadFailed, this,
            [](int err) { Prompts::message(ioErrorText(ioCodeFromErrno(err)).shown()); });

    fixSize();
}

void TfmLogView::FormActivate()
{
    RichEdit->clearView();
    if (!fileExists(journal_.path())) {
        Prompts::message(tr("Журнал работы пока пуст"));
        return;
    }
    if (const int err = RichEdit->load(journal_.path()); err != 0)
        Prompts::message(ioErrorText(ioCodeFromErrno(err)).shown());
}

// A journal can be large: it is not kept while nobody looks at it.
void TfmLogView::hideEvent(QHideEvent* event)
{
    RichEdit->clearView();
    TDialog::hideEvent(event);
}

} // namespace zolbin
