#include "frame/tmain.h"
#include "ui/fonts.h"
#include "admin/register.h"
#include "customers/register.h"
#include "data/autobackup.h"
#include "data/dates.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "frame/marquee.h"
#include "frame/pictures.h"
#include "frame/tguanyu.h"
#include "reports/register.h"
#include "trade/register.h"
#include "ui/screen.h"
#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

// The pictures and icon are compiled into the frame's library.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {
enum class Kind { Screen, Command, Exit, Help, About, Lock, Separator };

struct MenuItem {
    const char16_t* menu;    // the menu the item starts, or nullptr to stay in the current one
    const char16_t* caption; // the item's text
    const char16_t* name;    // objectName
    Kind kind;
    const char16_t* window; // window caption of the screen it opens
    int flag;
};

// Every menu item in menu order.
const MenuItem kMenu[] = {
    {u"系统设置", u"操作人员及权限设置", u"N2", Kind::Screen, u"操作人员设置", 1},
    {nullptr, u"修改密码", u"N11", Kind::Screen, u"修改密码", 0},
    {nullptr, u"店铺名称设置", u"N7", Kind::Screen, u"店铺名称设置", 0},
    {nullptr, u"数据备份", u"N3", Kind::Command, nullptr, 2},
    {nullptr, u"数据恢复", u"N12", Kind::Command, nullptr, 3},
    {nullptr, u"历史数据清除", u"N6", Kind::Screen, u"数据整理", 4},
    {nullptr, u"数据初始化", u"N4", Kind::Command, nullptr, 5},
    {nullptr, u"修改记录查询", u"N42", Kind::Screen, u"修改记录查询", 1},
    {nullptr, u"退出系统", u"N8", Kind::Exit, nullptr, 0},
    {u"基本设置", u"客户资料设置", u"N32", Kind::Screen, u"客户档案", 6},
    {nullptr, u"维修项目设置", u"N33", Kind::Screen, u"维修项目设置", 7},
    {nullptr, u"乡镇、村庄设置", u"N41", Kind::Screen, u"乡镇、村庄设置", 17},
    {u"日常操作", u"销售记录录入", u"N10", Kind::Screen, u"订购（销售）记录录入", 8},
    {nullptr, u"销售记录修改", u"N38", Kind::Screen, u"订购（销售）记录修改", 13},
    {nullptr, u"返修记录录入", u"N26", Kind::Screen, u"维修记录录入", 9},
    {nullptr, u"维修记录修改", u"N39", Kind::Screen, u"维修记录修改", 14},
    {nullptr, nullptr, nullptr, Kind::Separator, nullptr, 0},
    {nullptr, u"补收欠款", u"N28", Kind::Screen, u"补收欠款", 10},
    {nullptr, u"重印小票", u"N51", Kind::Command, nullptr, 0},
    {u"报表查询", u"客户全部历史信息查询", u"N30", Kind::Screen, u"查询客户所有资料", 11},
    {nullptr, u"查询客户交款记录", u"N34", Kind::Screen, u"查询客户交款记录", 12},
    {nullptr, u"一日销售、维修及帐款情况一览", u"N5", Kind::Screen, u"一日销售、维修及帐款情况一览", 15},
    {nullptr, u"销售、维修及帐款数据汇总", u"N40", Kind::Screen, u"销售、维修及帐款情况汇总", 16},
    {nullptr, u"主机序列号查询", u"N50", Kind::Screen, u"主机序列号查询", 11},
    {u"系统帮助", u"帮助主题", u"N36", Kind::Help, nullptr, 0},
    {nullptr, u"关于", u"N37", Kind::About, nullptr, 0},
};

struct ToolItem {
    const char16_t* name;
    const char16_t* caption;
    const char16_t* hint;
    int picture;
    const char16_t* twin; // the menu item it performs, or nullptr
    Kind kind;
};

const ToolItem kButtons[] = {
    {u"ToolButton1", u"客户资料设置", u"客户资料的设置", 10, u"N32", Kind::Screen},
    {u"ToolButton2", u"返修项目设置", u"维修项目的设置", 2, u"N33", Kind::Screen},
    {u"ToolButton3", u"定购(销售）记录录入", u"录入销售的记录", 4, u"N10", Kind::Screen},
    {u"ToolButton4", u"返修记录录入", u"录入维修的记录", 3, u"N26", Kind::Screen},
    {u"ToolButton5", u"补收欠款", u"补收历史上所有的欠款", 8, u"N28", Kind::Screen},
    {u"ToolButton6", u"客户信息查询", u"查询客户的所有信息", 11, u"N30", Kind::Screen},
    {u"ToolButton7", u"系统帮助", nullptr, 9, u"N36", Kind::Help},
    {u"ToolButton8", u"暂时离开", u"暂时离开而不关闭软件", 6, nullptr, Kind::Lock},
    {u"ToolButton9", u"退出", nullptr, 0, u"N8", Kind::Exit},
};

QString str(const char16_t* s) {
    return s ? QString::fromUtf16(s) : QString();
}

const MenuItem* menuItem(const QString& name) {
    for (const MenuItem& m : kMenu)
        if (m.name && str(m.name) == name)
            return &m;
    return nullptr;
}

ScreenRegistry everyArea() {
    ScreenRegistry r;
    registerCustomersScreens(r);
    registerTradeScreens(r);
    registerReportsScreens(r);
    registerAdminScreens(r);
    return r;
}
} // namespace

int TMAIN::flagOf(const QString& commandName) {
    QString name = commandName;
    for (const ToolItem& b : kButtons)
        if (str(b.name) == commandName)
            name = str(b.twin);
    const MenuItem* m = menuItem(name);
    return m ? m->flag : 0;
}

QStringList TMAIN::flaggedCommands() {
    QStringList out;
    for (const MenuItem& m : kMenu)
        if (m.flag > 0)
            out << str(m.name);
    for (const ToolItem& b : kButtons)
        if (flagOf(str(b.name)) > 0)
            out << str(b.name);
    return out;
}

TMAIN::TMAIN(Session& session, QWidget* parent) : TMAIN(session, everyArea(), parent) {}

TMAIN::TMAIN(Session& session, ScreenRegistry registry, QWidget* parent)
    : QMainWindow(parent), session_(session), registry_(std::move(registry)), mdi_(new QMdiArea(this)) {
    initResources();
    setObjectName(QStringLiteral("TMAIN"));
    session_.setMainWindow(this);
    session_.shopNameChanged = [this] { showShopName(); };
    build();
    loadShopName();
}

TMAIN::~TMAIN() {
    session_.shopNameChanged = nullptr;
    if (session_.mainWindow() == this)
        session_.setMainWindow(nullptr);
}

void TMAIN::build() {
    setFont(Fonts::song());
    setWindowIcon(QIcon(QStringLiteral(":/icons/lumareth.png")));
    resize(1022, 736);
    buildMenu();
    buildToolbar();
    buildClientArea();
    buildStatusBar();
}

void TMAIN::buildMenu() {
    QMenu* menu = nullptr;
    for (const MenuItem& m : kMenu) {
        if (m.menu)
            menu = menuBar()->addMenu(str(m.menu));
        if (m.kind == Kind::Separator) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(str(m.caption));
        const QString name = str(m.name);
        a->setObjectName(name);
        items_.insert(name, a);
        connect(a, &QAction::triggered, this, [this, name] { perform(name); });
    }
}

void TMAIN::buildToolbar() {
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setFixedHeight(64);
    Toolbar1->setIconSize(QSize(32, 32));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    Toolbar1->setStyleSheet(QStringLiteral(
        "QToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2f6f8f, stop:1 #1d4a63);"
        " border: none; spacing: 4px; }"
        "QToolButton { color: yellow; font-family: \"宋体\"; font-size: 14px; font-weight: bold;"
        " background: transparent; border: 1px solid transparent; min-width: 60px; min-height: 58px; }"
        "QToolButton:hover { border: 1px solid #9cc8dc; border-radius: 3px; }"
        "QToolButton:pressed { background: rgba(0, 0, 0, 60); }"
        "QToolButton:disabled { color: #8fa6b2; }"));
    addToolBar(Qt::TopToolBarArea, Toolbar1);
    bool first = true;
    for (const ToolItem& b : kButtons) {
        if (!first)
            Toolbar1->addSeparator();
        first = false;
        auto* button = new QToolButton(Toolbar1);
        const QString name = str(b.name);
        button->setObjectName(name);
        button->setText(str(b.caption));
        button->setToolTip(str(b.hint));
        button->setIcon(QIcon(Pictures::toolbar(b.picture)));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        Toolbar1->addWidget(button);
        buttons_.insert(name, button);
        if (const MenuItem* twin = menuItem(str(b.twin)); twin && twin->kind == Kind::Screen)
            items_.value(str(b.twin))->setIcon(button->icon());
        connect(button, &QToolButton::clicked, this, [this, name] { perform(name); });
    }
}

void TMAIN::buildClientArea() {
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setBackground(QBrush(Pictures::background()));
    setCentralWidget(mdi_);
    QFont big(QStringLiteral("华文行楷"));
    big.setPixelSize(60);
    auto makeLabel = [&](const QString& name, const QString& text) {
        auto* l = new QLabel(text, mdi_->viewport());
        l->setObjectName(name);
        l->setFont(big);
        l->setAlignment(Qt::AlignCenter);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->setStyleSheet(QStringLiteral("color: #008080; background: transparent;"));
        l->lower();
        return l;
    };
    Label1 = makeLabel(QStringLiteral("Label1"), QString());
    Label2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("Lumareth"));
    mdi_->viewport()->installEventFilter(this);
    placeLabels();
}

void TMAIN::placeLabels() {
    const QRect area = mdi_->viewport()->rect();
    const int h = 90;
    Label1->setGeometry(0, area.height() / 2 - h - 10, area.width(), h);
    Label2->setGeometry(0, area.height() / 2 + 10, area.width(), h);
}

bool TMAIN::eventFilter(QObject* watched, QEvent* e) {
    if (watched == mdi_->viewport() && e->type() == QEvent::Resize)
        placeLabels();
    return QMainWindow::eventFilter(watched, e);
}

void TMAIN::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(20);
    bar->setSizeGripEnabled(false);

    StatusPane1 = new QLabel(bar);
    StatusPane1->setObjectName(QStringLiteral("StatusPane1"));
    StatusPane1->setFixedWidth(227);
    StatusPane1->setAlignment(Qt::AlignCenter);
    bar->addWidget(StatusPane1);

    MarqueeStatus1 = new MarqueeLabel(bar);
    MarqueeStatus1->setObjectName(QStringLiteral("MarqueeStatus1"));
    MarqueeStatus1->setFixedWidth(432);
    QFont red(QStringLiteral("宋体"));
    red.setPixelSize(15);
    MarqueeStatus1->setFont(red);
    MarqueeStatus1->setText(
        QStringLiteral("欢迎使用Lumareth电脑店客户管理系统！销售、维修、帐款，一目了然。"));
    bar->addWidget(MarqueeStatus1);

    ClockStatus1 = new QLabel(bar);
    ClockStatus1->setObjectName(QStringLiteral("ClockStatus1"));
    ClockStatus1->setFixedWidth(287);
    ClockStatus1->setAlignment(Qt::AlignCenter);
    bar->addWidget(ClockStatus1);
    auto* clock = new QTimer(ClockStatus1);
    auto tick = [this] { ClockStatus1->setText(Dates::clock(QDateTime::currentDateTime())); };
    connect(clock, &QTimer::timeout, ClockStatus1, tick);
    clock->start(1000);
    tick();

    BackupStatus1 = new QLabel(QStringLiteral("正在自动备份数据……"), bar);
    BackupStatus1->setObjectName(QStringLiteral("BackupStatus1"));
    bar->addPermanentWidget(BackupStatus1);
    BackupStatus1->hide();
}

void TMAIN::autoBackup() {
    const AutoBackup::Settings settings = AutoBackup::settings();
    const QDate today = QDate::currentDate();
    if (AutoBackup::doneFor(settings, today)) {
        autoBackupFailed_ = false;
        return;
    }
    BackupStatus1->show();
    BackupStatus1->repaint();
    try {
        AutoBackup::run(session_.dm(), settings, today);
        autoBackupFailed_ = false;
    } catch (const DbError& e) {
        autoBackupFailed_ = true;
        BackupStatus1->hide();
        session_.messages().show(this, {QStringLiteral("今天的自动备份没有完成，请检查备份文件夹或磁盘空间！\n") + e.text(),
                                        QStringLiteral("提示"), MsgIcon::Warning, MsgButtons::Ok});
        return;
    }
    BackupStatus1->hide();
}

void TMAIN::loadShopName() {
    session_.shopName =
        IniFile::read(ProgramFolder::iniFile(), QStringLiteral("程序参数"), QStringLiteral("店铺名称"));
    showShopName();
}

void TMAIN::showShopName() {
    setWindowTitle(session_.shopName + QString::fromUtf16(kProductTitle));
    Label1->setText(session_.shopName);
}

void TMAIN::setCurrentOperator(const QString& number) {
    StatusPane1->setText(QStringLiteral("当前用户为:") + number);
}

void TMAIN::applyFlags(const std::array<bool, 18>& flags) {
    const QStringList names = flaggedCommands();
    for (const QString& name : names) {
        const int flag = flagOf(name);
        const bool on = flag > 0 && flag < int(flags.size()) && flags[flag];
        if (QAction* a = items_.value(name))
            a->setEnabled(on);
        if (QToolButton* b = buttons_.value(name))
            b->setEnabled(on);
    }
}

void TMAIN::perform(const QString& itemName) {
    QString name = itemName;
    Kind kind = Kind::Command;
    for (const ToolItem& b : kButtons)
        if (str(b.name) == itemName) {
            kind = b.kind;
            if (b.twin)
                name = str(b.twin);
        }
    if (const MenuItem* m = menuItem(name)) {
        kind = m->kind;
        if (kind == Kind::Screen) {
            openScreen(str(m->window));
            return;
        }
    }
    switch (kind) {
    case Kind::Exit:
        close();
        break;
    case Kind::Help:
        showHelp();
        break;
    case Kind::About:
        showAbout();
        break;
    case Kind::Command:
    case Kind::Lock:
        runCommand(name);
        break;
    default:
        break;
    }
}

QMdiSubWindow* TMAIN::findWindow(const QString& caption) const {
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* w : windows)
        if (w->windowTitle() == caption)
            return w;
    return nullptr;
}

QWidget* TMAIN::openScreen(const QString& caption) {
    if (QMdiSubWindow* w = findWindow(caption)) {
        w->showNormal();
        w->setEnabled(true);
        w->show();
        mdi_->setActiveSubWindow(w);
        if (auto* screen = qobject_cast<Screen*>(w->widget()))
            screen->takeFocus();
        return w->widget();
    }
    const ScreenRegistry::Factory factory = registry_.screen(caption);
    if (!factory)
        return nullptr;
    Screen* screen = nullptr;
    session_.guarded(this, [&] { screen = factory(session_); });
    if (!screen)
        return nullptr;
    screen->setWindowTitle(caption);
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWidget(screen);
    sub->setWindowIcon(windowIcon());
    Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (screen->maximisable())
        flags |= Qt::WindowMaximizeButtonHint;
    sub->setWindowFlags(flags);
    mdi_->addSubWindow(sub);
    sub->setWindowTitle(caption);
    const QRect place = screen->placement();
    if (place.size().isEmpty()) {
        // A screen without a size of its own is as large as its content.
        sub->adjustSize();
        sub->move(place.topLeft());
    } else {
        sub->setGeometry(place);
    }
    sub->show();
    mdi_->setActiveSubWindow(sub);
    screen->takeFocus();
    return screen;
}

void TMAIN::runCommand(const QString& itemName) {
    const ScreenRegistry::Command command = registry_.command(itemName);
    if (!command)
        return;
    session_.guarded(this, [&] { command(session_, this); });
}

void TMAIN::showHelp() {
    const QString file = ProgramFolder::helpFile();
    if (!file.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void TMAIN::showAbout() {
    session_.dialog<Tguanyu>().exec();
}

void TMAIN::closeEvent(QCloseEvent* e) {
    if (!session_.messages().ask(this, QStringLiteral("确实要退出本系统吗？"), QStringLiteral("系统提示"))) {
        e->ignore();
        return;
    }
    if (autoBackupFailed_ && session_.dm().isOpen())
        autoBackup();
    e->accept();
}
