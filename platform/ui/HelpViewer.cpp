// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/HelpViewer.h"

#include "platform/Codepage.h"
#include "platform/FileIo.h"
#include "platform/IoError.h"
#include "platform/Prompts.h"
#include "platform/ui/LayoutMnemonics.h"
#include "platform/ui/ScreenFit.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace zolbin {

namespace {

// The anchor of the contents page at the top of the document.
const QString ContentsAnchor = QStringLiteral("contents");

// Serves the document from memory, converted from cp1251; links inside it resolve against its URL.
class HelpBrowser final : public QTextBrowser
{
public:
    explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}

    void setDocumentText(const QUrl& url, const QString& html)
    {
        url_ = url;
        html_ = html;
    }

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (name.adjusted(QUrl::RemoveFragment) == url_)
            return html_;
        // The document refers to nothing else; nothing outside it is ever fetched.
        (void)type;
        return QVariant();
    }

private:
    QUrl url_;
    QString html_;
};

QToolButton* navigationButton(const QString& caption, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    return button;
}

} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(tr("Помощь - Zolbin Sender"));

    btnContents = navigationButton(tr("&Содержание"), this);
    btnBack = navigationButton(tr("&Назад"), this);
    btnForward = navigationButton(tr("&Вперёд"), this);
    btnBack->setEnabled(false);
    btnForward->setEnabled(false);
    auto* bar = new QHBoxLayout;
    bar->addWidget(btnContents);
    bar->addWidget(btnBack);
    bar->addWidget(btnForward);
    bar->addStretch(1);

    browser_ = new HelpBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(browser_, 1);
    resize(640, 520);

    connect(btnContents, &QToolButton::clicked, this, [this] {
        QUrl contents = browser_->source();
        contents.setFragment(ContentsAnchor);
        browser_->setSource(contents);
    });
    connect(btnBack, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(btnForward, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, btnBack, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, btnForward, &QToolButton::setEnabled);
}

bool HelpViewer::showContents(const DataFolder& folder, const std::string& fileName)
{
    const std::string path = findDataFile(folder, fileName);
    std::string bytes;
    if (const int err = readWholeFile(path, bytes); err != 0) {
        Prompts::message(tr("Не удалось открыть файл справки %1: %2")
                             .arg(toQString(fileName), ioErrorText(ioCodeFromErrno(err)).shown()),
                         PromptIcon::Warning);
        return false;
    }
    const QByteArray localPath(path.data(), static_cast<qsizetype>(path.size()));
    const QUrl url = QUrl::fromLocalFile(QFileInfo(QFile::decodeName(localPath)).absoluteFilePath());
    auto* help = static_cast<HelpBrowser*>(browser_);
    help->setDocumentText(url, toQString(bytes));
    // Read anew each time, so the window always shows the document as it is on disk, from its top.
    const bool sameDocument = help->source().adjusted(QUrl::RemoveFragment) == url;
    help->setSource(url, QTextDocument::HtmlResource);
    if (sameDocument)
        help->reload();
    help->clearHistory();
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    return true;
}

void HelpViewer::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    CapToScreen(this);
}

void HelpViewer::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (RunMnemonicByPosition(this, *event))
        return;
    QWidget::keyPressEvent(event);
}

} // namespace zolbin
