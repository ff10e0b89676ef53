#include "MainWindow.h"

#include "Artwork.h"
#include "BackgroundView.h"
#include "ExitDialog.h"
#include "SkinEngine.h"
#include "core/Config.h"
#include "core/SchemaUpgrade.h"
#include "widgets/Messages.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace cangshu {

namespace {

// The badge each tool-bar button shows, with the colour of its group.
struct Badge {
    const char16_t* caption;
    const char16_t* glyph;
    QRgb color;
};
constexpr QRgb kCatalogue = 0x2f6db5, kQuery = 0x1a93b8, kDesk = 0x5e9e3a, kMoney = 0xb8732a,
               kOther = 0x4f6078, kExit = 0xc0392b;
const Badge kBadges[] = {
    {u"书籍管理", u"书", kCatalogue}, {u"期刊管理", u"刊", kCatalogue},
    {u"读者管理", u"读", kCatalogue}, {u"书籍查询", u"查", kQuery},
    {u"读者查询", u"人", kQuery},     {u"借阅查询", u"借", kQuery},
    {u"超期查询", u"超", kQuery},     {u"充扣押金", u"¥", kMoney},
    {u"读者挂失", u"挂", kDesk},      {u"读者注销", u"销", kDesk},
    {u"今日数据", u"今", kOther},     {u"资金汇总", u"汇", kMoney},
    {u"借阅排行", u"排", kOther},     {u"视频照相", u"像", kOther},
    {u"退出软件", u"退", kExit},
};

QIcon toolBarIcon(const QString& caption) {
    for (const Badge& b : kBadges)
        if (caption == QString::fromUtf16(b.caption))
            return badgeIcon(QString::fromUtf16(b.glyph), QColor(b.color), 40);
    return badgeIcon(caption.left(1), QColor(kOther), 40);
}

void startFirstAvailable(const QStringList& programs) {
    for (const QString& p : programs) {
        const QString exe = QStandardPaths::findExecutable(p);
        if (!exe.isEmpty()) {
            QProcess::startDetached(exe, {});
            return;
        }
    }
}

const QStringList kBuiltInActions = {
    QStringLiteral("退出本系统"), QStringLiteral("退出软件"),     QStringLiteral("备份数据库"),
    QStringLiteral("还原数据库"), QStringLiteral("更改背景图片"), QStringLiteral("记事本"),
    QStringLiteral("计算器"),     QStringLiteral("软件使用手册"), QStringLiteral("升级程序"),
};

} // namespace

MainWindow::MainWindow(ShellContext& context, const WindowFactories& factories, SkinEngine& skins,
                       QWidget* parent)
    : QMainWindow(parent), m_context(context), m_factories(factories), m_skins(skins) {
    setObjectName(QStringLiteral("mainWindow"));
    m_background = new BackgroundView(this);
    setCentralWidget(m_background);

    m_operatorLabel = new QLabel(this);
    m_connectionLabel = new QLabel(this);
    statusBar()->addWidget(m_operatorLabel, 1);
    statusBar()->addPermanentWidget(m_connectionLabel);
    statusBar()->setSizeGripEnabled(false);

    buildMenus();
    buildToolBars();

    for (int k = 1; k <= 12; ++k) {
        const Command* c = CommandTable::instance().forFunctionKey(k);
        auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1 + k - 1), this);
        shortcut->setContext(Qt::WindowShortcut);
        const QString id = c->id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { runCommand(id); });
    }

    askExit = [this] {
        ExitDialog dialog(this);
        dialog.exec();
        return dialog.answer();
    };
    resize(1280, 720);
}

QWidget* MainWindow::background() const {
    return m_background;
}

QAction* MainWindow::commandAction(const Command& c, QObject* owner, const QString& text) {
    auto* a = new QAction(text, owner);
    const QString id = c.id;
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    m_gatedActions.append({a, id});
    return a;
}

void MainWindow::buildMenus() {
    const CommandTable& table = CommandTable::instance();
    m_skinGroup = new QActionGroup(this);
    m_skinGroup->setExclusive(true);
    for (const MenuGroup& group : table.menus()) {
        QMenu* menu = menuBar()->addMenu(group.accelerated);
        m_menus.insert(group.caption, menu);
        const bool skinMenu = group.caption == QStringLiteral("选择皮肤");
        for (const Command* c : table.inMenu(group.caption)) {
            QMenu* target = menu;
            if (!c->subMenu.isEmpty()) {
                target = m_menus.value(c->subMenu);
                if (!target) {
                    target = menu->addMenu(c->subMenu);
                    m_menus.insert(c->subMenu, target);
                }
            }
            if (c->id == QStringLiteral("退出本系统") || c->id == noSkinItem())
                menu->addSeparator();
            QString text = c->text;
            if (c->functionKey > 0)
                text += QStringLiteral("\tF%1").arg(c->functionKey);
            QAction* a = commandAction(*c, target, text);
            if (skinMenu) {
                a->setCheckable(true);
                m_skinGroup->addAction(a);
            }
            target->addAction(a);
            m_actions.insert(c->id, a);
        }
    }
}

void MainWindow::buildToolBars() {
    const CommandTable& table = CommandTable::instance();
    m_topBar = addToolBar(QStringLiteral("工具栏"));
    m_topBar->setObjectName(QStringLiteral("topBar"));
    m_topBar->setMovable(false);
    m_topBar->setFloatable(false);
    m_topBar->setIconSize(QSize(32, 32));
    m_topBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_topBar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const ToolBarEntry& entry : table.toolBar()) {
        if (entry.commands.size() == 1) {
            QAction* a =
                commandAction(*table.find(entry.commands.first()), m_topBar, entry.caption);
            a->setIcon(toolBarIcon(entry.caption));
            m_topBar->addAction(a);
            continue;
        }
        // A drop-down of commands under one button.
        auto* button = new QToolButton(m_topBar);
        button->setText(entry.caption);
        button->setIcon(toolBarIcon(entry.caption));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setPopupMode(QToolButton::InstantPopup);
        auto* popup = new QMenu(button);
        for (const QString& id : entry.commands) {
            const Command* c = table.find(id);
            // The pop-up names the rankings by their window titles.
            popup->addAction(
                commandAction(*c, popup, c->windowTitle.isEmpty() ? c->text : c->windowTitle));
        }
        button->setMenu(popup);
        m_topBar->addWidget(button);
        m_dropDowns.append({button, popup});
    }

    m_leftColumn = new QToolBar(QStringLiteral("常用功能"), this);
    m_leftColumn->setObjectName(QStringLiteral("leftColumn"));
    m_leftColumn->setOrientation(Qt::Vertical);
    m_leftColumn->setMovable(false);
    m_leftColumn->setFloatable(false);
    m_leftColumn->setIconSize(QSize(30, 30));
    m_leftColumn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_leftColumn->setContextMenuPolicy(Qt::PreventContextMenu);
    m_leftColumn->setMinimumWidth(176);
    addToolBar(Qt::LeftToolBarArea, m_leftColumn);
    const QColor colors[] = {QColor(kDesk), QColor(kCatalogue), QColor(kMoney)};
    for (int k = 1; k <= 12; ++k) {
        const Command* c = table.forFunctionKey(k);
        QAction* a = commandAction(*c, m_leftColumn, QStringLiteral("%1  F%2").arg(c->text).arg(k));
        a->setIcon(
            badgeIcon(QStringLiteral("F%1").arg(k), colors[k <= 6 ? 0 : (k <= 9 ? 1 : 2)], 36));
        m_leftColumn->addAction(a);
        if (QWidget* w = m_leftColumn->widgetForAction(a)) {
            w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            w->setFocusPolicy(Qt::NoFocus);
        }
    }
}

bool MainWindow::isAvailable(const Command& c) const {
    if (c.opening == Opening::Action)
        return kBuiltInActions.contains(c.id) || c.menu == QStringLiteral("选择皮肤");
    return m_factories.find(c.windowKey) != nullptr;
}

bool MainWindow::menuGroupOpen(const QString& caption) const {
    if (caption.isEmpty())
        return true;
    for (const MenuGroup& g : CommandTable::instance().menus())
        if (g.caption == caption)
            return gateOpen(g.gate, m_context.session.rights);
    return true;
}

void MainWindow::refreshEnabledStates() {
    const Rights& rights = m_context.session.rights;
    const CommandTable& table = CommandTable::instance();
    for (const MenuGroup& g : table.menus()) {
        m_menus.value(g.caption)->setEnabled(gateOpen(g.gate, rights));
        for (const QString& sub : table.subMenus(g.caption))
            m_menus.value(sub)->setEnabled(gateOpen(Gate::Statistics, rights));
    }
    for (const auto& [action, id] : m_gatedActions) {
        const Command* c = table.find(id);
        action->setEnabled(isAvailable(*c) && gateOpen(c->gate, rights) && menuGroupOpen(c->menu));
    }
    for (const auto& [button, popup] : m_dropDowns) {
        bool any = false;
        for (QAction* a : popup->actions())
            any = any || a->isEnabled();
        button->setEnabled(any);
    }
}

void MainWindow::applySession() {
    const OperatorSession& s = m_context.session;
    setWindowTitle(s.libraryName);
    m_operatorLabel->setText(QStringLiteral("操作员：  ") + s.operatorName);
    m_connectionLabel->setText(m_context.startup->remoteOnline
                                   ? QStringLiteral("连接服务器成功！")
                                   : QStringLiteral("连接服务器失败！"));
    const bool plain = m_context.plainShell();
    m_menus.value(QStringLiteral("帮助"))->menuAction()->setVisible(!plain);
    m_menus.value(QStringLiteral("选择皮肤"))->menuAction()->setVisible(!plain);
    statusBar()->setVisible(!plain);
    const QString skinItem = m_skins.active() ? skinItemForFile(m_skins.current()) : noSkinItem();
    if (QAction* a = m_actions.value(skinItem))
        a->setChecked(true);
    refreshEnabledStates();
    m_background->setCaption(s.libraryName);
    loadBackground();
    if (s.showOverdue == QStringLiteral("是"))
        QMetaObject::invokeMethod(
            this, [this] { runCommand(QStringLiteral("书籍未还超期查询")); }, Qt::QueuedConnection);
}

void MainWindow::loadBackground() {
    const QString file = m_context.session.backgroundFile;
    m_background->setPicture(QPixmap());
    if (file.isEmpty())
        return;
    const QString path = QDir(m_context.home().photoFolder()).filePath(file);
    QPixmap picture;
    if (!picture.load(path)) {
        showError(this, QStringLiteral("无法加载背景图片：") + QDir::toNativeSeparators(path));
        return;
    }
    m_background->setPicture(picture);
}

bool MainWindow::runCommand(const QString& id) {
    const Command* c = CommandTable::instance().find(id);
    if (!c || !gateOpen(c->gate, m_context.session.rights) || !menuGroupOpen(c->menu))
        return false;
    if (c->opening == Opening::Action)
        return runAction(*c);
    const WindowFactory* factory = m_factories.find(c->windowKey);
    if (!factory)
        return false;
    openWindow(*c, *factory);
    return true;
}

void MainWindow::openWindow(const Command& c, const WindowFactory& factory) {
    QPointer<QWidget>& window = m_windows[c.windowKey];
    if (!window) {
        window = factory.create(m_context, this);
        if (!window)
            return;
        if (!window->isWindow())
            window->setWindowFlag(Qt::Window, true);
    }
    if (!c.windowTitle.isEmpty())
        window->setWindowTitle(c.windowTitle);
    if (factory.prepare)
        factory.prepare(m_context, window, c);
    if (c.moveToCorner)
        window->move(m_background->mapToGlobal(QPoint(0, 0)));
    auto* dialog = qobject_cast<QDialog*>(window.data());
    if (c.opening == Opening::Modal && dialog) {
        dialog->exec();
        return;
    }
    window->setWindowModality(c.opening == Opening::Modal ? Qt::ApplicationModal : Qt::NonModal);
    window->show();
    window->raise();
    window->activateWindow();
}

bool MainWindow::runAction(const Command& c) {
    const QString& id = c.id;
    if (c.menu == QStringLiteral("选择皮肤")) {
        chooseSkin(id);
    } else if (id == QStringLiteral("退出本系统") || id == QStringLiteral("退出软件")) {
        close();
    } else if (id == QStringLiteral("备份数据库")) {
        backUp();
    } else if (id == QStringLiteral("还原数据库")) {
        showSuccess(this, QStringLiteral("请使用《数据库还原工具！》"));
    } else if (id == QStringLiteral("更改背景图片")) {
        changeBackground();
    } else if (id == QStringLiteral("记事本")) {
        startFirstAvailable({QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"),
                             QStringLiteral("kate"), QStringLiteral("mousepad"),
                             QStringLiteral("xed"), QStringLiteral("pluma"),
                             QStringLiteral("featherpad"), QStringLiteral("leafpad")});
    } else if (id == QStringLiteral("计算器")) {
        startFirstAvailable({QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                             QStringLiteral("galculator"), QStringLiteral("mate-calc"),
                             QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")});
    } else if (id == QStringLiteral("软件使用手册")) {
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(m_context.home().path(QStringLiteral("help.doc"))));
    } else if (id == QStringLiteral("升级程序")) {
        upgrade();
    } else {
        return false;
    }
    return true;
}

void MainWindow::chooseSkin(const QString& item) {
    QString file = noSkinValue();
    for (const Skin& s : skins())
        if (s.item == item)
            file = s.file;
    writeIniValue(m_context.home().iniFile(), QStringLiteral("skin"), QStringLiteral("s"), file);
    m_context.startup->config.skin = file;
    m_skins.apply(file);
    if (QAction* a = m_actions.value(item))
        a->setChecked(true);
}

void MainWindow::changeBackground() {
    const QString chosen =
        QFileDialog::getOpenFileName(this, QStringLiteral("选择背景图片"), QString(),
                                     QStringLiteral("图片文件 (*.jpg *.jpeg *.png *.bmp *.gif)"));
    if (chosen.isEmpty())
        return;
    QPixmap picture;
    if (!picture.load(chosen)) {
        showError(this, QStringLiteral("无法加载背景图片：") + QDir::toNativeSeparators(chosen));
        return;
    }
    m_background->setPicture(picture);
    const QString name = QFileInfo(chosen).fileName();
    QDir().mkpath(m_context.home().photoFolder());
    const QString copy = QDir(m_context.home().photoFolder()).filePath(name);
    if (QFileInfo(copy).absoluteFilePath() != QFileInfo(chosen).absoluteFilePath()) {
        QFile::remove(copy);
        if (!QFile::copy(chosen, copy)) {
            showError(this, QStringLiteral("无法保存背景图片：") + QDir::toNativeSeparators(copy));
            return;
        }
    }
    writeIniValue(m_context.home().iniFile(), QStringLiteral("picturepath"),
                  QStringLiteral("pathstr"), name);
    m_context.startup->config.backgroundPicture = name;
}

void MainWindow::backUp() {
    Database* db = m_context.db();
    if (!db) {
        showError(this, QStringLiteral("备份失败：没有连接数据库"));
        return;
    }
    const BackupResult r = backupDatabase(*db, m_context.home().backupFolder(), db->today());
    if (r.ok)
        showSuccess(this, r.message);
    else
        showError(this, r.message);
}

void MainWindow::upgrade() {
    Database* db = m_context.db();
    if (!db) {
        showError(this, QStringLiteral("数据库连接错误！"));
        return;
    }
    const UpgradeReport report = upgradeSchema(*db, m_context.home().root());
    if (report.ok()) {
        showSuccess(this, QStringLiteral("升级成功！"));
        return;
    }
    QStringList lines;
    for (const UpgradeItem& item : report.failures())
        lines << item.describe();
    showError(this, lines.join(u'\n'));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    switch (askExit()) {
    case ExitAnswer::Cancel:
        return;
    case ExitAnswer::SwitchOperator:
        hide();
        emit switchOperatorRequested();
        return;
    case ExitAnswer::BackupAndExit: {
        Database* db = m_context.db();
        const BackupResult r =
            db ? backupDatabase(*db, m_context.home().backupFolder(), db->today())
               : BackupResult{false, {}, QStringLiteral("备份失败：没有连接数据库")};
        if (!r.ok) {
            // The operator learns that there is no backup and can choose again.
            showError(this, r.message);
            return;
        }
        break;
    }
    case ExitAnswer::Exit:
        break;
    }
    m_closing = true;
    event->accept();
    emit exitRequested();
}

} // namespace cangshu
