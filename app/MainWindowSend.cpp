// The Send command as the main window runs it, the window's side of the send (status text, pauses,
// the editor's lines, the clean-up after a complete send), the service functions dialog and the
// unregistered subscriber.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/Later.h"
#include "dialogs/Unlisted.h"
#include "dispatch/SendCommand.h"
#include "platform/Codepage.h"
#include "platform/Pause.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>

namespace zolbin {

void TfmSend::SetStatusText(const std::string& text)
{
    StatusText->setText(toQString(text));
    StatusText->repaint();
}

void TfmSend::Pause(unsigned ms)
{
    zolbin::Pause(ms);
}

void TfmSend::Beep()
{
    QApplication::beep();
}

std::vector<std::string> TfmSend::EditorLines() const
{
    return RichEdit->displayedLines();
}

std::string TfmSend::EditorText() const
{
    return RichEdit->wholeText();
}

void TfmSend::SendCompleted(const TSendParams& params)
{
    clearServiceSummary();
    Label2->clear();
    if (settings_.clearOn()) {
        RichEdit->clear();
        pnlCount->setText(CounterText(0, params.CurMaxLen));
    }
    if (!AnyAbonentTicked() && !AnyGroupTicked())
        setServiceFunctions(false);
}

// While a send runs, the windows stay alive (they repaint, move and minimise), but nothing that the
// send reads may change under it: not the recipient, not the text, not the directory, the settings,
// the journal or the archives; and a second send cannot start.
void TfmSend::lockForSend()
{
    sendLock_.lock({btnSend, btnUnlisted, btnLater, btnClear, btnCut, btnPaste, btnUndo, btnAbonent, btnGroup,
                    btnProvider, btnDelArch, btnNameSort, btnPrev, btnNext, btnNumberSort, lbAbonent,
                    lbGroup},
                   {LogItem, N4, LaterItem, N1, N8, PasteItem, UndoItem, N13, N5, AbItem, GrItem, PrvItem,
                    NameSortItem, PrevItem, NextItem, NumberSortItem, OptItem});
    editorWasReadOnly_ = RichEdit->isReadOnly();
    RichEdit->setReadOnly(true);
}

void TfmSend::btnSendClick()
{
    if (sending())
        return;
    lockForSend();
    // The commands come back whatever way the command ends, an error included.
    struct Unlock
    {
        TfmSend* window;
        ~Unlock()
        {
            window->RichEdit->setReadOnly(window->editorWasReadOnly_);
            window->sendLock_.unlock();
        }
    } unlock{this};
    SendCommand(*this, SendParams, CurGroup, groups_, providers_).Run();
}

std::string TfmSend::serviceSummary() const
{
    return windows_.fmLater->ServiceSummary();
}

void TfmSend::clearServiceSummary()
{
    windows_.fmLater->SetServiceSummary({});
}

void TfmSend::resetServiceSettings()
{
    SendParams.DeferDate.clear();
    SendParams.RepeatCount = 0;
    clearServiceSummary();
}

void TfmSend::btnLaterClick()
{
    if (sending())
        return;
    windows_.fmLater->showModal();
    Label2->setText(toQString(serviceSummary()));
}

void TfmSend::btnUnlistedClick()
{
    if (sending())
        return;
    resetServiceSettings();
    Label2->clear();
    if (windows_.fmUnlisted->showModal() == QDialog::Accepted) {
        // The service functions of this recipient are reached inside the dialog.
        setCommandEnabled(btnLater, false);
        RichEdit->setReadOnly(false);
        RichEdit->setMaxLength(SendParams.CurMaxLen);
        pnlCount->setText(CounterText(0, RichEdit->maxLength()));
        untick(lbAbonent);
        RichEditDesc->clear();
        Label2->setText(toQString(serviceSummary()));
        Label1->setText(toQString(cp("Для абонента - ") + std::to_string(SendParams.CurNumber)));
    } else {
        // Whatever was chosen in the service dialog meanwhile is dropped.
        SendParams.DeferDate.clear();
        SendParams.DeferTime.clear();
        SendParams.RepeatCount = 0;
        clearServiceSummary();
    }
    RichEdit->setFocus();
}

} // namespace zolbin
