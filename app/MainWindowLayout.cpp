// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls: tool bar, main menu, notebook with the recipient lists, descriptions,
// message editor and status bar, and the fixed window size.

#include "app/MainStatusBar.h"
#include "app/MainWindow.h"
#include "platform/ui/AccessibleNames.h"
#include "platform/ui/CommandIcons.h"
#include "platform/ui/Cp1251Input.h"
#include "platform/ui/UiText.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace zolbin {

namespace {

// The window's designed client area (tool bar, notebook, editor and status bar; the menu bar is extra).
constexpr int DesignWidth = 593;
constexpr int DesignHeight = 275;

} // namespace

void TfmSend::buildUi()
{
    setWindowTitle(uiText("Zolbin Sender"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setContextMenuPolicy(Qt::PreventContextMenu);
    buildMenus();
    buildToolBar();
    buildCentre();
    status_ = new MainStatusBar(*this, *tray_, *sends_);
    NameControlsForScreenReaders(this);
}

void TfmSend::buildToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));

    // Each button shows its command's picture and hint and follows its state.
    auto tool = [this, bar](const char* name, Command command) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QLatin1String(name));
        button->setDefaultAction(action(command));
        button->setAccessibleName(action(command)->toolTip()); // a screen reader says the hint
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(button);
        return button;
    };
    // The gap before help and exit is at least three of the others wide.
    auto gap = [bar](bool stretch) {
        auto* spacer = new QWidget(bar);
        if (stretch) {
            spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            spacer->setMinimumWidth(3 * 8);
        } else {
            spacer->setFixedWidth(8);
        }
        bar->addWidget(spacer);
    };

    tool("btnSend", Command::Send);
    tool("btnUnlisted", Command::Unlisted);
    serviceButton_ = tool("btnLater", Command::Service);
    gap(false);
    tool("btnNoShort", Command::SignatureOff);
    gap(false);
    tool("btnClear", Command::ClearEditor);
    tool("btnCopy", Command::Copy);
    tool("btnCut", Command::Cut);
    tool("btnPaste", Command::Paste);
    tool("btnUndo", Command::Undo);
    gap(false);
    tool("btnAbonent", Command::Subscribers);
    tool("btnGroup", Command::Groups);
    tool("btnProvider", Command::Companies);
    gap(false);
    tool("btnArchive", Command::Archive);
    tool("btnDelArch", Command::DeleteArchives);
    tool("btnQueue", Command::Queue);
    gap(false);
    tool("btnNameSort", Command::SortByName);
    tool("btnPrev", Command::MoveUp);
    tool("btnNext", Command::MoveDown);
    tool("btnNumberSort", Command::SortByNumber);
    gap(true);
    tool("btnHelp", Command::Help);
    tool("btnExit", Command::Exit);
}

void TfmSend::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto menu = [bar](const char* name, const char* text) {
        QMenu* m = bar->addMenu(uiText(text));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    // The command's action, in its menu. A tool button shows the hint, where there is one, as its
    // tooltip; the menu shows the item's text.
    auto item = [this](QMenu* m, Command command, const char* text, const char* iconName,
                       const char* hint = nullptr, const QKeySequence& key = QKeySequence()) {
        auto* a = new QAction(commandIcon(iconName), uiText(text), this);
        a->setObjectName(QLatin1String(CommandName(command)));
        if (hint != nullptr)
            a->setToolTip(uiText(hint));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        m->addAction(a);
        actions_[static_cast<std::size_t>(command)] = a;
    };
    const auto alt = [](Qt::Key k) { return QKeySequence(QKeyCombination(Qt::AltModifier, k)); };

    QMenu* message = menu("MessageMenu", "&Сообщение");
    item(message, Command::Send, "Отправить", "mail-send", "Отправить сообщение", QKeySequence(Qt::Key_F2));
    item(message, Command::Unlisted, "Незарегистрированный абонент", "contact-new",
         "Незарегистрированный абонент", QKeySequence(Qt::Key_F3));
    item(message, Command::Service, "Сервис", "appointment-new", "Сервисные функции",
         QKeySequence(Qt::Key_F4));
    item(message, Command::SignatureOff, "Временное блокирование подписи", "mail-signed",
         "Временное блокирование подписи", QKeySequence(Qt::Key_F5));
    action(Command::SignatureOff)->setCheckable(true);
    message->addSeparator();
    item(message, Command::Exit, "Завершение работы", "application-exit", "Завершить работу");

    QMenu* edit = menu("EditMenu", "&Редактирование");
    item(edit, Command::ClearEditor, "Очистить окно ввода", "edit-clear", "Очистить окно ввода сообщения");
    // The editor's own keys are shown beside the commands; they are no shortcuts of the window, which
    // would take Ctrl with a letter from the lists' search.
    item(edit, Command::Copy, "Копировать\tCtrl+C", "edit-copy", "Копировать в буфер");
    item(edit, Command::Cut, "Вырезать\tCtrl+X", "edit-cut", "Вырезать в буфер");
    item(edit, Command::Paste, "Вставить\tCtrl+V", "edit-paste", "Вставить из буфера");
    item(edit, Command::Undo, "Отменить последнее редакт-ие\tCtrl+Z", "edit-undo",
         "Отменить последнее редактирование");
    edit->addSeparator();
    item(edit, Command::LargerFont, "Увел. размер шрифта", "zoom-in", nullptr, alt(Qt::Key_BracketLeft));
    item(edit, Command::SmallerFont, "Уменьш. размер шрифта", "zoom-out", nullptr, alt(Qt::Key_BracketRight));
    item(edit, Command::StoreFontSize, "Установить по умолчанию", "document-save");

    QMenu* archive = menu("ArchiveMenu", "&Архив");
    item(archive, Command::Archive, "Архив", "document-open-recent", "Архив", QKeySequence(Qt::Key_F6));
    item(archive, Command::DeleteArchives, "Удалить архив", "edit-delete", "Удалить архив");
    item(archive, Command::Queue, "Очередь сообщений", "mail-send-receive", "Очередь сообщений");
    archive->addSeparator();
    item(archive, Command::Journal, "Журнал работы", "text-x-generic");
    item(archive, Command::DeleteJournal, "Удалить журнал работы", "edit-delete");

    // The two orders share the theme's "view-sort-ascending" (the theme falls back along the dashes);
    // the program's own drawings tell names from numbers.
    QMenu* config = menu("ConfigMenu", "&Конфигурация");
    item(config, Command::Subscribers, "Абоненты...", "x-office-address-book", "Абоненты");
    item(config, Command::Groups, "Группы...", "network-workgroup", "Группы");
    item(config, Command::Companies, "Пейдж. компания...", "network-server", "Провайдеры");
    config->addSeparator();
    item(config, Command::SortByName, "Сортировка по имени", "view-sort-ascending-name",
         "Сортировка списка по имени абонента");
    item(config, Command::MoveUp, "На позицию вверх", "go-up", "На одну позицию вверх");
    item(config, Command::MoveDown, "На позицию вниз", "go-down", "На одну позицию вниз");
    item(config, Command::SortByNumber, "Сортировка по номеру ", "view-sort-ascending-number",
         "Сортировка списка по номеру пейджера");
    config->addSeparator();
    item(config, Command::Settings, "Настройки...", "preferences-system");

    QMenu* help = menu("HelpMenu", "&Помощь");
    item(help, Command::Help, "Помощь", "help-contents", "Помощь", QKeySequence(Qt::Key_F1));
    help->addSeparator();
    item(help, Command::Notice, "Зарегистрируйся!", "face-smile");
    item(help, Command::About, "О программе...", "help-about");
}

void TfmSend::buildCentre()
{
    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(4, 4, 4, 4);

    // Left: the description lines over the message editor.
    auto* left = new QVBoxLayout;
    Label1 = new QLabel(centre);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(centre);
    Label2->setObjectName(QStringLiteral("Label2"));
    // A long name in the description lines is cut at the column's edge; it never widens the column and
    // so never moves the lists.
    for (QLabel* line : {Label1, Label2})
        line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    RichEdit = new MessageEditor(centre);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setAccessibleName(uiText("Текст сообщения"));
    keepCp1251(RichEdit);
    left->addWidget(Label1);
    left->addWidget(Label2);
    left->addWidget(RichEdit, 1);

    // Right: the notebook with the two check lists over the description pane.
    auto* right = new QVBoxLayout;
    TabbedNotebook1 = new QTabWidget(centre);
    TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
    lbAbonent = new TickList(TabbedNotebook1);
    lbAbonent->setObjectName(QStringLiteral("lbAbonent"));
    lbGroup = new TickList(TabbedNotebook1);
    lbGroup->setObjectName(QStringLiteral("lbGroup"));
    TabbedNotebook1->setAccessibleName(uiText("Получатель"));
    lbAbonent->setAccessibleName(uiText("Абоненты"));
    lbGroup->setAccessibleName(uiText("Группы абонентов"));
    TabbedNotebook1->addTab(lbAbonent, uiText(" &1: Абоненты "));
    TabbedNotebook1->addTab(lbGroup, uiText("  &2: Группы  "));
    RichEditDesc = new QPlainTextEdit(centre);
    RichEditDesc->setObjectName(QStringLiteral("RichEditDesc"));
    RichEditDesc->setAccessibleName(uiText("Примечание к абоненту"));
    RichEditDesc->setReadOnly(true);
    RichEditDesc->setFocusPolicy(Qt::NoFocus);
    QPalette grey = RichEditDesc->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Button));
    RichEditDesc->setPalette(grey);
    RichEditDesc->setFixedHeight(48);
    right->addWidget(TabbedNotebook1, 1);
    right->addWidget(RichEditDesc);

    row->addLayout(left, 11);
    row->addLayout(right, 9);
    setCentralWidget(centre);
}

// The window keeps its designed size for good. Where the fonts need more room than the design gives,
// the size grows in the design's proportions.
void TfmSend::fixWindowSize()
{
    const int menuHeight = menuBar()->sizeHint().height();
    QSize need = minimumSizeHint() - QSize(0, menuHeight);
    // Every tool button shows: none is left to the tool bar's extension arrow.
    if (const auto* bar = findChild<QToolBar*>(QStringLiteral("ToolBar1")))
        need.setWidth(std::max(need.width(), bar->sizeHint().width()));
    const double factor = std::max({1.0, static_cast<double>(need.width()) / DesignWidth,
                                    static_cast<double>(need.height()) / DesignHeight});
    const int width = static_cast<int>(std::ceil(DesignWidth * factor));
    const int height = static_cast<int>(std::ceil(DesignHeight * factor));
    setFixedSize(width, height + menuHeight);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width / 2, (height + menuHeight) / 2));
}

} // namespace zolbin
