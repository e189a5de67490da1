// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's help: the document "zolbin.hlp" (HTML in code page 1251, shipped with the program)
// shown in a window of its own beside the main window, opened at its contents page. Links inside the
// document work, with back and forward as in a browser. A document that cannot be found or read is
// reported in a message box.

#include "platform/DataFolder.h"

#include <QWidget>
#include <string>

class QTextBrowser;
class QToolButton;

namespace zolbin {

inline constexpr const char* HelpFileName = "zolbin.hlp";

class HelpViewer final : public QWidget
{
    Q_OBJECT
public:
    // A window of its own; the parent only ties its life to the main window.
    explicit HelpViewer(QWidget* parent = nullptr);

    // Loads the document (looked up as a data file of the data folder, findDataFile) and shows it at its
    // contents page, raising the window. Returns false, after the message, when the document cannot be
    // read.
    bool showContents(const DataFolder& folder, const std::string& fileName = HelpFileName);

    QTextBrowser* browser() const { return browser_; }
    QToolButton* btnContents = nullptr;
    QToolButton* btnBack = nullptr;
    QToolButton* btnForward = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override; // kept within its screen

private:
    QTextBrowser* browser_ = nullptr;
};

} // namespace zolbin
