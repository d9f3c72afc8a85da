#include "shell/forms/mainform.h"

#include "foundation/datamodule.h"
#include "foundation/forms/skin.h"
#include "foundation/db/clock.h"
#include "foundation/goods.h"
#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/productconstants.h"
#include "platform/system/programfolder.h"
#include "platform/system/urlopener.h"
#include "screenkit/skins.h"
#include "shell/backupservice.h"
#include "shell/commandgate.h"
#include "shell/exitsequence.h"
#include "shell/followon.h"
#include "shell/forms/login.h"
#include "shell/forms/pictures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace {

const QColor kPanelColours[] = {
    QColor(0x2f, 0x7d, 0xd1),  // goods in
    QColor(0x1f, 0xa1, 0x7a),  // goods out
    QColor(0xe0, 0x8a, 0x1e),  // stock
    QColor(0x7a, 0x55, 0xc7),  // reports
    QColor(0xd1, 0x4b, 0x5a),  // partner accounts
    QColor(0x3d, 0x5a, 0x80),  // settings
};

const char *const kPanelTitles[] = {"入库管理", "出库管理", "库存管理", "统计报表", "往来账款", "系统设置"};

// A 70 by 85 picture button: the picture above, its caption below (wrapped).
class PictureButton final : public QAbstractButton
{
public:
    PictureButton(const QString &caption, const QColor &colour, QWidget *parent)
        : QAbstractButton(parent), m_picture(CommandPicture(caption, colour, 46)), m_colour(colour)
    {
        setText(caption);
        setToolTip(caption);
        setFixedSize(70, 85);
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        if (underMouse() || isDown()) {
            p.setPen(QPen(m_colour.lighter(140), 1));
            p.setBrush(QColor(m_colour.red(), m_colour.green(), m_colour.blue(), isDown() ? 60 : 28));
            p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        }
        p.drawPixmap((width() - m_picture.width()) / 2, isDown() ? 5 : 4, m_picture);
        QFont f = font();
        f.setPixelSize(12);
        p.setFont(f);
        p.setPen(QColor(0x33, 0x33, 0x33));
        p.drawText(QRect(0, 52, width(), height() - 52), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   text());
    }

private:
    QPixmap m_picture;
    QColor m_colour;
};

// A panel of picture buttons on a white card; on the document panels the flow between
// neighbouring buttons of a row is drawn as arrows.
class CommandPanel final : public QWidget
{
public:
    CommandPanel(const QString &title, const QColor &colour, bool flow, QWidget *parent)
        : QWidget(parent), m_title(title), m_colour(colour), m_flow(flow)
    {
        setAccessibleName(title);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0xc8, 0xd3, 0xe0), 1));
        p.setBrush(QColor(255, 255, 255, 236));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
        if (!m_flow)
            return;
        // Arrows between neighbouring visible buttons of a row.
        QList<QWidget *> buttons;
        for (QWidget *w : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->isVisibleTo(this))
                buttons << w;
        }
        std::sort(buttons.begin(), buttons.end(), [](QWidget *a, QWidget *b) {
            return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
        });
        p.setPen(QPen(m_colour.lighter(150), 2, Qt::SolidLine, Qt::RoundCap));
        for (int i = 1; i < buttons.size(); ++i) {
            QWidget *a = buttons[i - 1];
            QWidget *b = buttons[i];
            const int gap = b->x() - (a->x() + a->width());
            if (a->y() > 100 || qAbs(a->y() - b->y()) > 4 || gap < 24 || gap > 160)
                continue;
            const int y = a->y() + 27;
            const int x1 = a->x() + a->width() + 6;
            const int x2 = b->x() - 6;
            p.drawLine(x1, y, x2, y);
            p.drawLine(x2, y, x2 - 6, y - 5);
            p.drawLine(x2, y, x2 - 6, y + 5);
        }
    }

private:
    QString m_title;
    QColor m_colour;
    bool m_flow;
};

// The client area: tiles the background picture and keeps the panels centred.
class ClientArea final : public QWidget
{
public:
    ClientArea(const QString *closingFlag, QWidget *parent) : QWidget(parent), m_closingFlag(closingFlag)
    {
        setObjectName(QStringLiteral("ClientArea"));
        m_bg = backgroundTile();
    }

    static QPixmap backgroundTile()
    {
        QPixmap tile(64, 64);
        QPainter p(&tile);
        QLinearGradient g(0, 0, 64, 64);
        g.setColorAt(0, QColor(0xea, 0xf1, 0xf8));
        g.setColorAt(1, QColor(0xe2, 0xeb, 0xf5));
        p.fillRect(tile.rect(), g);
        p.setPen(QColor(0xd8, 0xe3, 0xef));
        p.drawLine(0, 63, 63, 0);
        return tile;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_closingFlag && *m_closingFlag == QLatin1String("1"))
            return;
        QPainter p(this);
        for (int y = 0; y < height(); y += m_bg.height()) {
            for (int x = 0; x < width(); x += m_bg.width())
                p.drawPixmap(x, y, m_bg);
        }
    }

    void resizeEvent(QResizeEvent *) override
    {
        for (QWidget *panel : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            panel->move((width() - panel->width()) / 2, (height() - panel->height()) / 2);
    }

private:
    const QString *m_closingFlag;
    QPixmap m_bg;
};

QToolButton *topButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIcon(QIcon(CommandPicture(caption, QColor(0x2b, 0x6c, 0xb0), 28)));
    b->setIconSize(QSize(28, 28));
    b->setAutoRaise(true);
    b->setMinimumWidth(68);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QString commandName(const ShellCommand &command)
{
    if (command.gate == CommandGate::Rights && command.refusal.endsWith(QStringLiteral("！")))
        return command.refusal.left(command.refusal.size() - 1);
    return command.caption;
}

} // namespace

TF_MainForm::TF_MainForm(DataModule &data, LoginState &state, const Clock &clock, Notices &notices,
                         UrlOpener &urls, ScreenRegistry &registry, FollowOnRequests &followOn, QWidget *parent)
    : QMainWindow(parent)
    , m_data(data)
    , m_state(state)
    , m_clock(clock)
    , m_notices(notices)
    , m_urls(urls)
    , m_registry(registry)
    , m_followOn(followOn)
    , m_programFolder(ProgramFolder())
    , m_terminate([] { QCoreApplication::exit(0); })
{
    FormCreate();
}

TF_MainForm::~TF_MainForm()
{
    qApp->removeEventFilter(this);
    for (const QPointer<QDialog> &screen : std::as_const(m_kept))
        delete screen.data();
    delete m_login.data();
}

void TF_MainForm::FormCreate()
{
    SetProductConstants();
    setObjectName(QStringLiteral("TF_MainForm"));
    setCursor(Qt::PointingHandCursor);

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("RzPanel_Main"));
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    setCentralWidget(central);

    buildTopBar();
    outer->addWidget(findChild<QWidget *>(QStringLiteral("RzPanel_Top")));

    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    outer->addLayout(middle, 1);
    buildLeftBar();
    middle->addWidget(findChild<QWidget *>(QStringLiteral("RzPanel_Left")));
    auto *client = new ClientArea(&m_closingFlag, central);
    middle->addWidget(client, 1);
    buildPanels(client);

    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("RzStatusBar1"));
    auto pane = [bar](const char *name, int width) {
        auto *l = new QLabel(bar);
        l->setObjectName(QString::fromLatin1(name));
        l->setMinimumWidth(width);
        l->setContentsMargins(8, 0, 8, 0);
        bar->addWidget(l);
        return l;
    };
    m_paneRj = pane("RzStatusPane_Rj", 220);
    m_paneAdmin = pane("RzStatusPane_Admin", 160);
    m_paneLoginTime = pane("RzStatusPane_LoginTime", 230);
    pane("RzStatusPane_4", 120);
    pane("RzStatusPane_5", 120);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setSingleShot(true);
    connect(m_timer1, &QTimer::timeout, this, &TF_MainForm::Timer1Timer);
    m_timerBackUp = new QTimer(this);
    m_timerBackUp->setObjectName(QStringLiteral("TimerBackUp"));
    connect(m_timerBackUp, &QTimer::timeout, this, &TF_MainForm::TimerBackUpTimer);

    // F1 and Esc act wherever the focus is in this window.
    qApp->installEventFilter(this);
    resize(1200, 800);
}

void TF_MainForm::buildTopBar()
{
    auto *top = new QWidget(this);
    top->setObjectName(QStringLiteral("RzPanel_Top"));
    top->setAttribute(Qt::WA_StyledBackground);
    top->setStyleSheet(QStringLiteral(
        "#RzPanel_Top { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e4ecf6);"
        " border-bottom: 1px solid #b9c9dc; }"
        "#RzPanel_Top QToolButton { color: #1f3b5c; font-size: 12px; padding: 2px 4px; }"));
    auto *row = new QHBoxLayout(top);
    row->setContentsMargins(12, 4, 12, 4);
    row->setSpacing(2);

    auto *logo = new QLabel(top);
    logo->setObjectName(QStringLiteral("img_Logo"));
    QPixmap pix(260, 48);
    pix.fill(Qt::transparent);
    {
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        p.drawPixmap(0, 4, CommandPicture(QStringLiteral("进"), QColor(0x2f, 0x7d, 0xd1), 40));
        QFont f(QStringLiteral("Noto Sans CJK SC"));
        f.setPixelSize(20);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0x1f, 0x4e, 0x8c));
        p.drawText(QRect(50, 2, 210, 28), Qt::AlignLeft | Qt::AlignVCenter,
                   Product().brandWord + QStringLiteral(" 进销存"));
        f.setPixelSize(11);
        f.setBold(false);
        p.setFont(f);
        p.setPen(QColor(0x5a, 0x6e, 0x86));
        p.drawText(QRect(50, 28, 210, 18), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("采购 · 销售 · 库存 · 往来"));
    }
    logo->setPixmap(pix);
    row->addWidget(logo);
    row->addStretch(1);

    for (const ShellCommand &command : ShellCommands()) {
        for (const CommandControl &c : command.controls) {
            if (c.panel != QLatin1String(kTopBar))
                continue;
            QToolButton *b = topButton(c.name, command.caption, top);
            const QString name = c.name;
            connect(b, &QToolButton::clicked, this, [this, name] { commandClick(name); });
            m_controls.insert(name, b);
            row->addWidget(b);
        }
    }
}

void TF_MainForm::buildLeftBar()
{
    auto *left = new QWidget(this);
    left->setObjectName(QStringLiteral("RzPanel_Left"));
    left->setAttribute(Qt::WA_StyledBackground);
    left->setFixedWidth(132);
    left->setStyleSheet(QStringLiteral(
        "#RzPanel_Left { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #21466f, stop:1 #2a5686); }"
        "#RzPanel_Left QToolButton { color: #e8f0fa; font-size: 14px; border: none; border-radius: 6px;"
        " padding: 6px; text-align: left; }"
        "#RzPanel_Left QToolButton:hover { background: rgba(255,255,255,30); }"
        "#RzPanel_Left QToolButton:checked { background: #f4f7fb; color: #1f3b5c; font-weight: bold; }"));
    auto *column = new QVBoxLayout(left);
    column->setContentsMargins(10, 16, 10, 16);
    column->setSpacing(8);
    const auto &panels = ShellPanels();
    for (int i = 0; i < int(panels.size()); ++i) {
        auto *b = new QToolButton(left);
        b->setObjectName(panels[i].button);
        b->setText(panels[i].caption);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setIcon(QIcon(CommandPicture(panels[i].caption, kPanelColours[i], 24)));
        b->setIconSize(QSize(24, 24));
        b->setFixedSize(112, 44);
        b->setCursor(Qt::PointingHandCursor);
        connect(b, &QToolButton::clicked, this, [this, i] {
            switch (i) {
            case 0: menu1_btnClick(); break;
            case 1: menu2_btnClick(); break;
            case 2: menu3_btnClick(); break;
            case 3: menu4_btnClick(); break;
            case 4: menu5_btnClick(); break;
            default: menu6_btnClick(); break;
            }
        });
        m_controls.insert(panels[i].button, b);
        column->addWidget(b);
    }
    column->addStretch(1);
}

void TF_MainForm::buildPanels(QWidget *client)
{
    const auto &panels = ShellPanels();
    for (int i = 0; i < int(panels.size()); ++i) {
        auto *panel = new CommandPanel(QString::fromUtf8(kPanelTitles[i]), kPanelColours[i], i < 2, client);
        panel->setObjectName(panels[i].panel);
        panel->setFixedSize(panels[i].width, panels[i].height);
        panel->hide();
        m_panels << panel;
    }
    m_popupMenuPos = new QMenu(this);
    m_popupMenuPos->setObjectName(QString::fromLatin1(kPosMenu));

    for (const ShellCommand &command : ShellCommands()) {
        for (const CommandControl &c : command.controls) {
            const QString name = c.name;
            if (c.panel == QLatin1String(kPosMenu)) {
                QAction *item = m_popupMenuPos->addAction(command.caption);
                item->setObjectName(name);
                connect(item, &QAction::triggered, this, [this, name] { commandClick(name); });
                continue;
            }
            QWidget *panel = nullptr;
            int index = 0;
            for (int i = 0; i < int(panels.size()); ++i) {
                if (panels[i].panel == c.panel) {
                    panel = m_panels[i];
                    index = i;
                }
            }
            if (!panel)
                continue;
            auto *b = new PictureButton(command.caption, kPanelColours[index], panel);
            b->setObjectName(name);
            b->move(c.left, c.top);
            connect(b, &QAbstractButton::clicked, this, [this, name] { commandClick(name); });
            m_controls.insert(name, b);
        }
    }
}

QWidget *TF_MainForm::panel(const QString &name) const
{
    for (QWidget *p : m_panels) {
        if (p->objectName() == name)
            return p;
    }
    return nullptr;
}

QAbstractButton *TF_MainForm::control(const QString &name) const
{
    return m_controls.value(name, nullptr);
}

QDialog *TF_MainForm::keptScreen(const QString &screenClass) const
{
    return m_kept.value(screenClass).data();
}

ScreenContext TF_MainForm::screenContext()
{
    ScreenContext c;
    c.data = &m_data;
    c.state = &m_state;
    c.clock = &m_clock;
    c.notices = &m_notices;
    c.urls = &m_urls;
    c.followOn = &m_followOn;
    c.registry = &m_registry;
    c.startBackupTimer = [this](int hours) { startBackupTimer(hours); };
    c.stopBackupTimer = [this] { stopBackupTimer(); };
    return c;
}

BackupContext TF_MainForm::backupContext()
{
    BackupContext c;
    c.db = m_data.mainDb();
    c.settings = m_data.settings();
    c.state = &m_state;
    c.clock = &m_clock;
    c.programFolder = m_programFolder;
    return c;
}

// ---- Life of the window ----

bool TF_MainForm::start()
{
    if (!FormShow())
        return false;
    showMaximized();
    FormActivate();
    return true;
}

bool TF_MainForm::FormShow()
{
    if (m_closingFlag == QLatin1String("1"))
        return false;
    const ProductConstants &product = Product();
    setWindowTitle(product.brandWord + QStringLiteral("Brivant管理系统 ") + product.versionText);
    m_paneRj->setText(product.brandWord + QStringLiteral("软件"));
    {
        // The skin applies to the whole application; the screen is not kept, since it would
        // keep a handle on a connection the login replaces.
        TF_Skin skin(m_data.mainDb(), m_state, this);
        skin.ChangeSkin(QString::fromLatin1(kDefaultSkin));
    }

    bool loggedIn = false;
    {
        TF_Login login(m_data, m_state, m_clock, m_notices, LoginMode::StartUp, this);
        login.setTerminate(m_terminate);
        login.exec();
        loggedIn = login.loggedIn();
    }
    if (!loggedIn)
        return false;

    refreshPanes();
    m_paneLoginTime->setText(QStringLiteral("登录时间:") + m_clock.now().toString(QString::fromLatin1(kDateTimeFormat)));
    m_timer1->start(200);
    return true;
}

void TF_MainForm::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    // Dates are never formatted through the locale, so a change of the desktop's regional
    // settings needs nothing kept here; and Qt scales the panels' logical positions itself,
    // so the buttons need no moving back for other resolutions.
    menu1_btnClick();
    LoadSysParams(m_data.mainDb(), m_state, m_clock);
    m_followOn.ReturnSourceNo.clear();
    m_closingFlag.clear();
    EnsureZeroGoodsStock(m_data.mainDb());
    const ProductConstants &product = Product();
    setWindowTitle(product.brandWord + QStringLiteral("Brivant管理系统 [") + m_state.CompanyShortName
                   + QStringLiteral("] ") + product.versionText);
    if (m_state.BackupAuto == QLatin1String("1"))
        startBackupTimer(m_state.BackupHours);
    if (!isVisible())
        showMaximized();
}

void TF_MainForm::refreshPanes()
{
    m_paneAdmin->setText(QStringLiteral("操作员：") + m_state.CurrentOperatorName);
    m_paneRj->setText(QStringLiteral("当前帐套:") + m_state.CurrentAccountSetName);
}

void TF_MainForm::Timer1Timer()
{
    m_timer1->stop();
    // The start-up screens appear only once they are built: a placeholder after every login
    // would only be in the way.
    const ScreenContext context = screenContext();
    auto showOnce = [&](const char *screenClass, const QString &caption) {
        if (!m_registry.isRegistered(QString::fromLatin1(screenClass)))
            return;
        std::unique_ptr<QDialog> screen(m_registry.create(QString::fromLatin1(screenClass), caption, context, this));
        screen->exec();
    };
    if (IsTrue(m_state.ShowTipAtStart))
        showOnce(kTipScreen, QStringLiteral("每日一贴"));
    if (IsTrue(m_state.ShowRemindersAtStart))
        showOnce(kRemindersScreen, QStringLiteral("事件提醒"));
}

void TF_MainForm::startBackupTimer(int hours)
{
    m_timerBackUp->start(BackupTimerInterval(hours));
}

void TF_MainForm::stopBackupTimer()
{
    m_timerBackUp->stop();
}

void TF_MainForm::TimerBackUpTimer()
{
    backupDatabase();
}

QString TF_MainForm::backupDatabase()
{
    return ::backupDatabase(backupContext());
}

void TF_MainForm::forgetKeptScreens()
{
    for (const QPointer<QDialog> &screen : std::as_const(m_kept))
        delete screen.data();
    m_kept.clear();
}

void TF_MainForm::btn_LoginClick()
{
    // The kept screens hold statements on the main connection and values of this login; a
    // successful login moves that connection to the chosen set. They are closed and forgotten
    // first, and made again against the new connection and login state when next opened.
    forgetKeptScreens();
    if (!m_login) {
        m_login = new TF_Login(m_data, m_state, m_clock, m_notices, LoginMode::ChangeOperator, this);
        m_login->setTerminate(m_terminate);
    }
    m_login->setMode(LoginMode::ChangeOperator);
    m_login->exec();
    refreshPanes();
}

bool TF_MainForm::FormClose()
{
    if (m_closingFlag == QLatin1String("1"))
        return true;
    if (m_notices.ask(QString::fromUtf8(kExitQuestion)) != Notices::Answer::Yes)
        return false;
    m_timerBackUp->stop();
    RunExitSequence(backupContext());
    m_closingFlag = QStringLiteral("1");
    if (m_terminate)
        m_terminate();
    return true;
}

void TF_MainForm::closeEvent(QCloseEvent *event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

bool TF_MainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->window() == this && !QApplication::activeModalWidget()) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_F1) {
                openHelpPage(QString::fromLatin1(kHelpPage));
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                close();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Panels ----

void TF_MainForm::menu1_btnClick() { showPanel(0); }
void TF_MainForm::menu2_btnClick() { showPanel(1); }
void TF_MainForm::menu3_btnClick() { showPanel(2); }
void TF_MainForm::menu4_btnClick() { showPanel(3); }
void TF_MainForm::menu5_btnClick() { showPanel(4); }
void TF_MainForm::menu6_btnClick() { showPanel(5); }

void TF_MainForm::showPanel(int index)
{
    for (int i = 0; i < m_panels.size(); ++i)
        m_panels[i]->setVisible(i == index);
    if (QAbstractButton *b = control(ShellPanels()[index].button))
        b->setChecked(true);
    applyPanelFlags();
    m_panels[index]->update();
}

void TF_MainForm::applyPanelFlags()
{
    auto show = [this](const char *name, bool visible) {
        if (QAbstractButton *b = control(QString::fromLatin1(name)))
            b->setVisible(visible);
    };
    const bool orders = IsTrue(m_state.UsePurchaseOrder);
    show("btn_Menu1_Btn7", orders);
    show("btn_Menu1_Btn8", orders);
    show("btn_Menu1_Btn9", orders);
    show("btn_Menu1_Btn1", !orders);
    show("btn_Menu1_Btn2", !orders);

    const bool salesOrders = IsTrue(m_state.UseSalesOrder);
    show("btn_Menu2_Btn3", salesOrders);
    show("btn_Menu2_Btn8", salesOrders);
    show("btn_Menu2_Btn9", salesOrders);
    show("btn_Menu2_Btn1", !salesOrders);
    show("btn_Menu2_Btn4", !salesOrders);

    const bool pos = IsTrue(m_state.UsePos);
    show("btn_Menu2_BtnA", pos);
    show("btn_Menu2_BtnB", pos);
    show("btn_Menu6_BtnC", pos);
    show("btn_Menu6_BtnC1", !pos);
}

// ---- Commands ----

void TF_MainForm::dispMsg(const QString &refusal)
{
    m_notices.notice(RightRefusalText(refusal));
}

void TF_MainForm::dispMsg2()
{
    m_notices.notice(AdministratorOnlyText());
}

void TF_MainForm::commandClick(const QString &controlName)
{
    const ShellCommand *command = FindCommandByControl(controlName);
    if (!command)
        return;
    runCommand(*command, control(controlName));
}

void TF_MainForm::runCommand(const ShellCommand &command, QAbstractButton *source)
{
    const GateResult gate = PassCommandGate(m_data.mainDb(), m_state, command);
    if (!gate.allowed) {
        if (command.gate == CommandGate::AdministratorOnly)
            dispMsg2();
        else
            dispMsg(command.refusal);
        return;
    }
    switch (command.action) {
    case CommandAction::OpenScreen:
        openCommandScreen(command);
        break;
    case CommandAction::PopupPosMenu: {
        const QPoint at = source ? source->mapToGlobal(QPoint(-35, 82)) : mapToGlobal(QPoint(0, 0));
        m_popupMenuPos->popup(at);
        break;
    }
    case CommandAction::ChangeOperator:
        btn_LoginClick();
        break;
    case CommandAction::HelpPage:
        openHelpPage(QString::fromLatin1(kStartHelpPage));
        break;
    case CommandAction::VideoPage:
        m_urls.openUrl(VideoTutorialAddress());
        break;
    case CommandAction::Exit:
        close();
        break;
    }
}

void TF_MainForm::openCommandScreen(const ShellCommand &command)
{
    PrepareFollowOn(command.followOn, m_followOn);
    showScreen(command.screen, commandName(command), command.lifetime);
    for (const QString &next : FollowOnScreens(command.followOn, m_followOn)) {
        const ShellCommand *receiver = FindCommandByScreen(next);
        showScreen(next, receiver ? commandName(*receiver) : next,
                   receiver ? receiver->lifetime : ScreenLifetime::Kept);
    }
    FinishFollowOn(command.followOn, m_followOn);
}

void TF_MainForm::showScreen(const QString &screenClass, const QString &caption, ScreenLifetime lifetime)
{
    if (lifetime == ScreenLifetime::Freed) {
        std::unique_ptr<QDialog> screen(m_registry.create(screenClass, caption, screenContext(), this));
        screen->exec();
        return;
    }
    QPointer<QDialog> &kept = m_kept[screenClass];
    if (!kept)
        kept = m_registry.create(screenClass, caption, screenContext(), this);
    kept->exec();
}

void TF_MainForm::openHelpPage(const QString &file)
{
    QString folder = m_programFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QString path = folder + file;
    if (!QFile::exists(path)) {
        m_notices.notice(QStringLiteral("找不到帮助文件：") + file);
        return;
    }
    m_urls.openFile(path);
}
