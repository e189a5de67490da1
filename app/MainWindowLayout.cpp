// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls: tool bar, main menu, notebook with the recipient lists, descriptions,
// message editor and status bar, and the fixed window size.

#include "app/EditorCommands.h"
#include "app/ListOrdering.h"
#include "app/MainStatusBar.h"
#include "app/MainWindow.h"
#include "app/RecipientChoice.h"
#include "app/WindowCommands.h"
#include "platform/ui/AccessibleNames.h"
#include "platform/ui/CommandIcons.h"
#include "platform/ui/Cp1251Input.h"
#include "platform/ui/UiText.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
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

using Actions = std::array<QAction*, CommandCount>;

// The main menu: each command's action, made here, in its menu.
void buildMenus(QMainWindow& window, Actions& actions)
{
    QMenuBar* bar = window.menuBar();
    auto menu = [bar](const char* name, const char* text) {
        QMenu* m = bar->addMenu(QCoreApplication::translate("zolbin::TfmSend", text));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    // The command's action, in its menu. A tool button shows the hint, where there is one, as its
    // tooltip; the menu shows the item's text.
    auto item = [&window, &actions](QMenu* m, Command command, const char* text, const char* iconName,
                                    const char* hint = nullptr, const QKeySequence& key = QKeySequence()) {
        auto* a =
            new QAction(commandIcon(iconName), QCoreApplication::translate("zolbin::TfmSend", text), &window);
        a->setObjectName(QLatin1String(CommandName(command)));
        if (hint != nullptr)
            a->setToolTip(QCoreApplication::translate("zolbin::TfmSend", hint));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        m->addAction(a);
        actions[static_cast<std::size_t>(command)] = a;
    };
    const auto alt = [](Qt::Key k) { return QKeySequence(QKeyCombination(Qt::AltModifier, k)); };

    QMenu* message = menu("MessageMenu", QT_TRANSLATE_NOOP("zolbin::TfmSend", "&Сообщение"));
    item(message, Command::Send, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Отправить"), "mail-send",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Отправить сообщение"), QKeySequence(Qt::Key_F2));
    item(message, Command::Unlisted, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Незарегистрированный абонент"),
         "contact-new", QT_TRANSLATE_NOOP("zolbin::TfmSend", "Незарегистрированный абонент"),
         QKeySequence(Qt::Key_F3));
    item(message, Command::Service, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Сервис"), "appointment-new",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Сервисные функции"), QKeySequence(Qt::Key_F4));
    item(message, Command::SignatureOff,
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Временное блокирование подписи"), "mail-signed",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Временное блокирование подписи"), QKeySequence(Qt::Key_F5));
    actions[static_cast<std::size_t>(Command::SignatureOff)]->setCheckable(true);
    message->addSeparator();
    item(message, Command::Exit, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Завершение работы"),
         "application-exit", QT_TRANSLATE_NOOP("zolbin::TfmSend", "Завершить работу"));

    QMenu* edit = menu("EditMenu", QT_TRANSLATE_NOOP("zolbin::TfmSend", "&Редактирование"));
    item(edit, Command::ClearEditor, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Очистить окно ввода"),
         "edit-clear", QT_TRANSLATE_NOOP("zolbin::TfmSend", "Очистить окно ввода сообщения"));
    // The editor's own keys are shown beside the commands; they are no shortcuts of the window, which
    // would take Ctrl with a letter from the lists' search.
    item(edit, Command::Copy, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Копировать\tCtrl+C"), "edit-copy",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Копировать в буфер"));
    item(edit, Command::Cut, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Вырезать\tCtrl+X"), "edit-cut",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Вырезать в буфер"));
    item(edit, Command::Paste, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Вставить\tCtrl+V"), "edit-paste",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Вставить из буфера"));
    item(edit, Command::Undo, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Отменить последнее редакт-ие\tCtrl+Z"),
         "edit-undo", QT_TRANSLATE_NOOP("zolbin::TfmSend", "Отменить последнее редактирование"));
    edit->addSeparator();
    item(edit, Command::LargerFont, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Увел. размер шрифта"), "zoom-in",
         nullptr, alt(Qt::Key_BracketLeft));
    item(edit, Command::SmallerFont, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Уменьш. размер шрифта"),
         "zoom-out", nullptr, alt(Qt::Key_BracketRight));
    item(edit, Command::StoreFontSize, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Установить по умолчанию"),
         "document-save");

    QMenu* archive = menu("ArchiveMenu", QT_TRANSLATE_NOOP("zolbin::TfmSend", "&Архив"));
    item(archive, Command::Archive, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Архив"), "document-open-recent",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Архив"), QKeySequence(Qt::Key_F6));
    item(archive, Command::DeleteArchives, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Удалить архив"),
         "edit-delete", QT_TRANSLATE_NOOP("zolbin::TfmSend", "Удалить архив"));
    item(archive, Command::Queue, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Очередь сообщений"),
         "mail-send-receive", QT_TRANSLATE_NOOP("zolbin::TfmSend", "Очередь сообщений"));
    archive->addSeparator();
    item(archive, Command::Journal, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Журнал работы"), "text-x-generic");
    item(archive, Command::DeleteJournal, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Удалить журнал работы"),
         "edit-delete");

    // The two orders share the theme's "view-sort-ascending" (the theme falls back along the dashes);
    // the program's own drawings tell names from numbers.
    QMenu* config = menu("ConfigMenu", QT_TRANSLATE_NOOP("zolbin::TfmSend", "&Конфигурация"));
    item(config, Command::Subscribers, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Абоненты..."),
         "x-office-address-book", QT_TRANSLATE_NOOP("zolbin::TfmSend", "Абоненты"));
    item(config, Command::Groups, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Группы..."), "network-workgroup",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Группы"));
    item(config, Command::Companies, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Пейдж. компания..."),
         "network-server", QT_TRANSLATE_NOOP("zolbin::TfmSend", "Провайдеры"));
    config->addSeparator();
    item(config, Command::SortByName, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Сортировка по имени"),
         "view-sort-ascending-name",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Сортировка списка по имени абонента"));
    item(config, Command::MoveUp, QT_TRANSLATE_NOOP("zolbin::TfmSend", "На позицию вверх"), "go-up",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "На одну позицию вверх"));
    item(config, Command::MoveDown, QT_TRANSLATE_NOOP("zolbin::TfmSend", "На позицию вниз"), "go-down",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "На одну позицию вниз"));
    item(config, Command::SortByNumber, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Сортировка по номеру "),
         "view-sort-ascending-number",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Сортировка списка по номеру пейджера"));
    config->addSeparator();
    item(config, Command::Settings, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Настройки..."),
         "preferences-system");

    QMenu* help = menu("HelpMenu", QT_TRANSLATE_NOOP("zolbin::TfmSend", "&Помощь"));
    item(help, Command::Help, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Помощь"), "help-contents",
         QT_TRANSLATE_NOOP("zolbin::TfmSend", "Помощь"), QKeySequence(Qt::Key_F1));
    help->addSeparator();
    item(help, Command::Notice, QT_TRANSLATE_NOOP("zolbin::TfmSend", "Зарегистрируйся!"), "face-smile");
    item(help, Command::About, QT_TRANSLATE_NOOP("zolbin::TfmSend", "О программе..."), "help-about");
}

// The tool bar: a button per command that has one, each taking its command's action; gives the service
// functions' button.
QToolButton* buildToolBar(QMainWindow& window, const Actions& actions)
{
    QToolBar* bar = window.addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));

    // Each button shows its command's picture and hint and follows its state.
    const auto action = [&actions](Command command) { return actions[static_cast<std::size_t>(command)]; };
    auto tool = [&action, bar](const char* name, Command command) {
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
    QToolButton* service = tool("btnLater", Command::Service);
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
    return service;
}

} // namespace

void TfmSend::buildUi()
{
    setWindowTitle(uiText("Zolbin Sender"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setContextMenuPolicy(Qt::PreventContextMenu);
    buildMenus(*this, actions_);
    serviceButton_ = buildToolBar(*this, actions_);
    buildCentre();
    status_ = new MainStatusBar(*this, *tray_, *sends_);
    NameControlsForScreenReaders(this);
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
    RichEdit->setAccessibleName(tr("Текст сообщения"));
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
    TabbedNotebook1->setAccessibleName(tr("Получатель"));
    lbAbonent->setAccessibleName(tr("Абоненты"));
    lbGroup->setAccessibleName(tr("Группы абонентов"));
    TabbedNotebook1->addTab(lbAbonent, tr(" &1: Абоненты "));
    TabbedNotebook1->addTab(lbGroup, tr("  &2: Группы  "));
    RichEditDesc = new QPlainTextEdit(centre);
    RichEditDesc->setObjectName(QStringLiteral("RichEditDesc"));
    RichEditDesc->setAccessibleName(tr("Примечание к абоненту"));
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

void TfmSend::buildParts()
{
    const auto changed = [this] { updateCommands(); };
    recipients_ =
        new RecipientChoice(session_, windows_, {lbAbonent, lbGroup, Label1, Label2, RichEditDesc, RichEdit},
                            *status_, state_, changed, this);
    ordering_ = new ListOrdering(
        session_, TabbedNotebook1, RichEditDesc, *recipients_, state_, changed, [this] { ReloadDirectory(); },
        this);
    editing_ = new EditorCommands(
        RichEdit, settingsFile_, *status_, state_, changed, [this] { ordering_->hideSearch(); }, this);
    windowCommands_ = new WindowCommands(*this, session_, windows_, *recipients_, *editing_, *sends_);
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
