// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls: tool bar, main menu, notebook with the recipient lists, descriptions,
// message editor and status bar, and the fixed window size.

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
constexpr int StatusTextWidth = 450;
const QColor WarningColour(0xC0, 0x00, 0x00);

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
    buildStatusBar();
    NameControlsForScreenReaders(this);
}

void TfmSend::buildToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));

    auto tool = [bar](const char* name, const char* hint, const QIcon& icon) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QLatin1String(name));
        button->setToolTip(uiText(hint));
        button->setAccessibleName(uiText(hint)); // a screen reader says the hint; the picture has no text
        button->setIcon(icon);
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

    btnSend = tool("btnSend", "Отправить сообщение", LogItem->icon());
    btnUnlisted = tool("btnUnlisted", "Незарегистрированный абонент", N4->icon());
    btnLater = tool("btnLater", "Сервисные функции", LaterItem->icon());
    gap(false);
    btnNoShort = tool("btnNoShort", "Временное блокирование подписи", NoShortItem->icon());
    btnNoShort->setCheckable(true);
    gap(false);
    btnClear = tool("btnClear", "Очистить окно ввода сообщения", N1->icon());
    btnCopy = tool("btnCopy", "Копировать в буфер", N7->icon());
    btnCut = tool("btnCut", "Вырезать в буфер", N8->icon());
    btnPaste = tool("btnPaste", "Вставить из буфера", PasteItem->icon());
    btnUndo = tool("btnUndo", "Отменить последнее редактирование", UndoItem->icon());
    gap(false);
    btnAbonent = tool("btnAbonent", "Абоненты", AbItem->icon());
    btnGroup = tool("btnGroup", "Группы", GrItem->icon());
    btnProvider = tool("btnProvider", "Провайдеры", PrvItem->icon());
    gap(false);
    btnArchive = tool("btnArchive", "Архив", N12->icon());
    btnDelArch = tool("btnDelArch", "Удалить архив", N13->icon());
    btnQueue = tool("btnQueue", "Очередь сообщений", QueueItem->icon());
    gap(false);
    btnNameSort = tool("btnNameSort", "Сортировка списка по имени абонента", NameSortItem->icon());
    btnPrev = tool("btnPrev", "На одну позицию вверх", PrevItem->icon());
    btnNext = tool("btnNext", "На одну позицию вниз", NextItem->icon());
    btnNumberSort = tool("btnNumberSort", "Сортировка списка по номеру пейджера", NumberSortItem->icon());
    gap(true);
    btnHelp = tool("btnHelp", "Помощь", CntItem->icon());
    btnExit = tool("btnExit", "Завершить работу", ExitItem->icon());
}

void TfmSend::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto menu = [bar](const char* name, const char* text) {
        QMenu* m = bar->addMenu(uiText(text));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    auto item = [this](QMenu* m, const char* name, const char* text, const char* iconName,
                       const QKeySequence& key = QKeySequence()) {
        QAction* a = m->addAction(commandIcon(iconName), uiText(text));
        a->setObjectName(QLatin1String(name));
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        a->setParent(this);
        return a;
    };
    const auto alt = [](Qt::Key k) { return QKeySequence(QKeyCombination(Qt::AltModifier, k)); };

    MessageMenu = menu("MessageMenu", "&Сообщение");
    LogItem = item(MessageMenu, "LogItem", "Отправить", "mail-send", QKeySequence(Qt::Key_F2));
    N4 = item(MessageMenu, "N4", "Незарегистрированный абонент", "contact-new", QKeySequence(Qt::Key_F3));
    LaterItem = item(MessageMenu, "LaterItem", "Сервис", "appointment-new", QKeySequence(Qt::Key_F4));
    NoShortItem = item(MessageMenu, "NoShortItem", "Временное блокирование подписи", "mail-signed",
                       QKeySequence(Qt::Key_F5));
    NoShortItem->setCheckable(true);
    MessageMenu->addSeparator();
    ExitItem = item(MessageMenu, "ExitItem", "Завершение работы", "application-exit");

    EditMenu = menu("EditMenu", "&Редактирование");
    N1 = item(EditMenu, "N1", "Очистить окно ввода", "edit-clear");
    // The editor's own keys are shown beside the commands; they are no shortcuts of the window, which
    // would take Ctrl with a letter from the lists' search.
    N7 = item(EditMenu, "N7", "Копировать\tCtrl+C", "edit-copy");
    N8 = item(EditMenu, "N8", "Вырезать\tCtrl+X", "edit-cut");
    PasteItem = item(EditMenu, "PasteItem", "Вставить\tCtrl+V", "edit-paste");
    UndoItem = item(EditMenu, "UndoItem", "Отменить последнее редакт-ие\tCtrl+Z", "edit-undo");
    EditMenu->addSeparator();
    BigFontItem = item(EditMenu, "BigFontItem", "Увел. размер шрифта", "zoom-in", alt(Qt::Key_BracketLeft));
    SmallFontItem =
        item(EditMenu, "SmallFontItem", "Уменьш. размер шрифта", "zoom-out", alt(Qt::Key_BracketRight));
    DefFontItem = item(EditMenu, "DefFontItem", "Установить по умолчанию", "document-save");

    ArchiveMenu = menu("ArchiveMenu", "&Архив");
    N12 = item(ArchiveMenu, "N12", "Архив", "document-open-recent", QKeySequence(Qt::Key_F6));
    N13 = item(ArchiveMenu, "N13", "Удалить архив", "edit-delete");
    QueueItem = item(ArchiveMenu, "QueueItem", "Очередь сообщений", "mail-send-receive");
    ArchiveMenu->addSeparator();
    N15 = item(ArchiveMenu, "N15", "Журнал работы", "text-x-generic");
    N5 = item(ArchiveMenu, "N5", "Удалить журнал работы", "edit-delete");

    // The two orders share the theme's "view-sort-ascending" (the theme falls back along the dashes);
    // the program's own drawings tell names from numbers.
    ConfigMenu = menu("ConfigMenu", "&Конфигурация");
    AbItem = item(ConfigMenu, "AbItem", "Абоненты...", "x-office-address-book");
    GrItem = item(ConfigMenu, "GrItem", "Группы...", "network-workgroup");
    PrvItem = item(ConfigMenu, "PrvItem", "Пейдж. компания...", "network-server");
    ConfigMenu->addSeparator();
    NameSortItem = item(ConfigMenu, "NameSortItem", "Сортировка по имени", "view-sort-ascending-name");
    PrevItem = item(ConfigMenu, "PrevItem", "На позицию вверх", "go-up");
    NextItem = item(ConfigMenu, "NextItem", "На позицию вниз", "go-down");
    NumberSortItem =
        item(ConfigMenu, "NumberSortItem", "Сортировка по номеру ", "view-sort-ascending-number");
    ConfigMenu->addSeparator();
    OptItem = item(ConfigMenu, "OptItem", "Настройки...", "preferences-system");

    HelpMenu = menu("HelpMenu", "&Помощь");
    CntItem = item(HelpMenu, "CntItem", "Помощь", "help-contents", QKeySequence(Qt::Key_F1));
    HelpMenu->addSeparator();
    SmileItem = item(HelpMenu, "SmileItem", "Зарегистрируйся!", "face-smile");
    AboutItem = item(HelpMenu, "AboutItem", "О программе...", "help-about");
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

void TfmSend::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    auto panel = [bar](const char* name, const QString& text) {
        auto* label = new QLabel(text, bar);
        label->setObjectName(QLatin1String(name));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return label;
    };
    StatusText = panel("StatusText", QString());
    StatusText->setFixedWidth(StatusTextWidth);
    pnlCount = panel("pnlCount", QStringLiteral("0:0"));
    pnlCount->setAlignment(Qt::AlignCenter);
    pnlCount->setMinimumWidth(pnlCount->fontMetrics().horizontalAdvance(QStringLiteral("000:000")) + 10);
    pnlCaps = panel("pnlCaps", QStringLiteral("CAPS"));
    pnlCaps->setAlignment(Qt::AlignCenter);
    pnlCaps->setMinimumWidth(pnlCaps->fontMetrics().horizontalAdvance(QStringLiteral("CAPS")) + 10);
    pnlProgress = panel("pnlProgress", QString());
    // The outbox's two counts open the queue window when clicked; a screen reader reads their text.
    pnlOutbox = panel("pnlOutbox", QString());
    pnlOutbox->setToolTip(uiText("Открыть очередь сообщений"));
    pnlNotSent = panel("pnlNotSent", QString());
    pnlNotSent->setToolTip(uiText("Открыть очередь сообщений на неотправленных сообщениях"));
    QPalette warning = pnlNotSent->palette();
    warning.setColor(QPalette::WindowText, WarningColour);
    pnlNotSent->setPalette(warning);
    for (QLabel* count : {pnlOutbox, pnlNotSent}) {
        count->setCursor(Qt::PointingHandCursor);
        count->setAccessibleDescription(count->toolTip());
    }
    btnCancelSend = new QPushButton(uiText("Отмена"), bar);
    btnCancelSend->setObjectName(QStringLiteral("btnCancelSend"));
    btnCancelSend->setToolTip(uiText("Не отправлять сообщение абонентам группы, которым оно ещё не ушло"));
    btnCancelSend->setFocusPolicy(Qt::NoFocus);
    StatusText->setAccessibleName(uiText("Состояние"));
    pnlCount->setAccessibleName(uiText("Набрано символов : наибольшая длина сообщения"));
    pnlCaps->setAccessibleName(uiText("Индикатор Caps Lock"));
    bar->addWidget(StatusText);
    bar->addPermanentWidget(pnlNotSent);
    bar->addPermanentWidget(pnlOutbox);
    bar->addPermanentWidget(pnlProgress);
    bar->addPermanentWidget(btnCancelSend);
    bar->addPermanentWidget(pnlCount);
    bar->addPermanentWidget(pnlCaps);
    // The bar is as high as it is with everything in it, so that no panel coming or going moves the
    // window's other controls (the group's Cancel button is higher than the panels).
    bar->setFixedHeight(bar->sizeHint().height());
    for (QWidget* shownAtTimes :
         std::initializer_list<QWidget*>{pnlNotSent, pnlOutbox, pnlProgress, btnCancelSend})
        shownAtTimes->hide();
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
