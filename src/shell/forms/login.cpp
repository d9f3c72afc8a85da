#include "shell/forms/login.h"

#include "foundation/datamodule.h"
#include "foundation/db/dberror.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/password.h"
#include "foundation/productconstants.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QUuid>

namespace {

QPixmap bannerPicture()
{
    QPixmap pix(440, 86);
    QPainter p(&pix);
    QLinearGradient g(0, 0, 440, 86);
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x8c));
    g.setColorAt(1, QColor(0x3a, 0x8f, 0xc9));
    p.fillRect(pix.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawEllipse(QPoint(400, 10), 70, 70);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Noto Sans CJK SC"));
    title.setPixelSize(24);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(24, 12, 400, 36), Qt::AlignLeft | Qt::AlignVCenter,
               Product().brandWord + QStringLiteral(" 进销存管理系统"));
    QFont sub(QStringLiteral("Noto Sans CJK SC"));
    sub.setPixelSize(13);
    p.setFont(sub);
    p.drawText(QRect(24, 50, 400, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("操作员登录"));
    return pix;
}

QPixmap keyPicture()
{
    QPixmap pix(64, 64);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3a, 0x8f, 0xc9));
    p.drawRoundedRect(QRectF(14, 28, 36, 28), 5, 5);
    QPen arc(QColor(0x1f, 0x4e, 0x8c), 6);
    p.setPen(arc);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(20, 8, 24, 32), 0, 180 * 16);
    p.drawLine(QPointF(20, 24), QPointF(20, 29));
    p.drawLine(QPointF(44, 24), QPointF(44, 29));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(32, 40), 4, 4);
    return pix;
}

} // namespace

TF_Login::TF_Login(DataModule &data, LoginState &state, const Clock &clock, Notices &notices, LoginMode mode,
                   QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_data(data)
    , m_state(state)
    , m_clock(clock)
    , m_notices(notices)
    , m_mode(mode)
    , m_terminate([] { QCoreApplication::exit(0); })
    , m_connection(QStringLiteral("jxc_login_") + QUuid::createUuid().toString(QUuid::Id128))
{
    setObjectName(QStringLiteral("TF_Login"));
    setModal(true);

    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(13);
    setFont(font);

    auto *banner = new QLabel(this);
    banner->setObjectName(QStringLiteral("Image1"));
    banner->setPixmap(bannerPicture());
    banner->setGeometry(0, 0, 440, 86);

    auto *key = new QLabel(this);
    key->setObjectName(QStringLiteral("Image2"));
    key->setPixmap(keyPicture());
    key->setGeometry(24, 112, 64, 64);

    auto label = [this](const QString &text, int top) {
        auto *l = new QLabel(text, this);
        l->setGeometry(104, top, 80, 26);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    label(QStringLiteral("帐套名称："), 104)->setObjectName(QStringLiteral("Label1"));
    label(QStringLiteral("用户名称："), 140)->setObjectName(QStringLiteral("Label2"));
    label(QStringLiteral("用户密码："), 176)->setObjectName(QStringLiteral("Label3"));

    m_comZt = new QComboBox(this);
    m_comZt->setObjectName(QStringLiteral("comZt"));
    m_comZt->setGeometry(188, 104, 210, 26);
    m_comAdmin = new QComboBox(this);
    m_comAdmin->setObjectName(QStringLiteral("comAdmin"));
    m_comAdmin->setGeometry(188, 140, 210, 26);
    m_tpwd2 = new QLineEdit(this);
    m_tpwd2->setObjectName(QStringLiteral("tpwd2"));
    m_tpwd2->setGeometry(188, 176, 210, 26);
    m_tpwd2->setEchoMode(QLineEdit::Password);
    m_tpwd2->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"

    m_lMsg = new QLabel(this);
    m_lMsg->setObjectName(QStringLiteral("lMsg"));
    m_lMsg->setGeometry(188, 204, 230, 20);
    m_lMsg->setStyleSheet(QStringLiteral("color: #d40000;"));
    QFont small = font;
    small.setPixelSize(12);
    m_lMsg->setFont(small);

    m_btnOK = new QPushButton(QStringLiteral("确定(F5)"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setGeometry(188, 232, 100, 30);
    m_btnOK->setAutoDefault(false);
    m_btnCancel = new QPushButton(QStringLiteral("取消(Esc)"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setGeometry(298, 232, 100, 30);
    m_btnCancel->setAutoDefault(false);

    setFixedSize(440, 280);

    connect(m_btnOK, &QPushButton::clicked, this, &TF_Login::btnOKClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &TF_Login::btnCancelClick);
    connect(m_comZt, &QComboBox::currentIndexChanged, this, &TF_Login::comZtPropertiesChange);
    connect(m_comAdmin, &QComboBox::currentIndexChanged, this, &TF_Login::comAdminPropertiesChange);

    // Enter, F5 and Esc act wherever the focus is.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

TF_Login::~TF_Login()
{
    closeLoginConnection();
}

void TF_Login::closeLoginConnection()
{
    CloseConnection(m_connection);
}

void TF_Login::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormActivate();
}

bool TF_Login::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F5:
            btnOKClick();
            return true;
        case Qt::Key_Escape:
            btnCancelClick();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TF_Login::showProblem(const QString &text)
{
    m_problem = text;
    m_comAdmin->clear();
    m_lMsg->setText(text);
}

void TF_Login::FormActivate()
{
    setWindowTitle(Product().brandWord + QStringLiteral("Brivant管理系统 ---- 操作员登录"));
    m_btnOK->setEnabled(true);
    m_loggedIn = false;

    m_loading = true;
    m_comZt->clear();
    KeyedItems sets;
    try {
        m_data.OpenAccountSetRegister();
        sets = LoginAccountSets(m_data.registerDb());
    } catch (const std::exception &e) {
        qWarning().noquote() << "login: register not readable:" << e.what();
    }
    m_data.CloseAccountSetRegister();
    for (const KeyedItem &item : sets)
        m_comZt->addItem(item.text, item.key);
    if (m_comZt->count() > 0)
        m_comZt->setCurrentIndex(0);
    setAdminValue();
    m_loading = false;

    m_keepRunning = m_mode == LoginMode::ChangeOperator;
}

void TF_Login::comZtPropertiesChange()
{
    if (!m_loading)
        setAdminValue();
}

void TF_Login::setAdminValue()
{
    m_problem.clear();
    m_lMsg->clear();
    closeLoginConnection();
    m_tpwd2->clear();
    if (m_comZt->currentIndex() < 0) {
        showProblem(QString::fromUtf8(kNoAccountSetText));
        return;
    }
    const QString file = m_comZt->currentData().toString();
    KeyedItems operators;
    try {
        const QSqlDatabase db = OpenConnection(m_data.settings(), file, m_connection);
        operators = LoginOperators(db);
    } catch (const std::exception &e) {
        qWarning().noquote() << "login: account set not readable:" << e.what();
        closeLoginConnection();
        showProblem(QString::fromUtf8(kAccountSetUnreadableText));
        return;
    }
    {
        const QSignalBlocker block(m_comAdmin);
        m_comAdmin->clear();
        for (const KeyedItem &item : operators)
            m_comAdmin->addItem(item.text, item.key);
    }
    if (m_comAdmin->count() > 0) {
        m_comAdmin->setCurrentIndex(0);
        comAdminPropertiesChange();
    }
    m_tpwd2->clear();
    m_tpwd2->setFocus();
}

void TF_Login::comAdminPropertiesChange()
{
    if (!m_problem.isEmpty())
        return;
    m_lMsg->clear();
    if (m_comAdmin->currentIndex() < 0)
        return;
    try {
        const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (StoredPasswordIsEmpty(db, m_comAdmin->currentText()))
            m_lMsg->setText(QString::fromUtf8(kInitialPasswordHint));
    } catch (const std::exception &e) {
        qWarning().noquote() << "login: password not readable:" << e.what();
    }
}

void TF_Login::btnOKClick()
{
    if (!m_btnOK->isEnabled())
        return;  // the login has passed already
    if (!m_problem.isEmpty()) {
        m_lMsg->setText(m_problem);
        return;
    }
    if (m_comAdmin->currentIndex() < 0)
        return;
    const QString name = m_comAdmin->currentText();
    bool matches = false;
    {
        const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        matches = PasswordMatches(db, name, m_tpwd2->text());
    }
    if (!matches) {
        m_notices.notice(QString::fromUtf8(kWrongPasswordText));
        m_tpwd2->clear();
        m_tpwd2->setFocus();
        return;
    }
    m_btnOK->setEnabled(false);

    LoginChoice choice;
    choice.accountSetDb = m_comZt->currentData().toString();
    choice.accountSetName = m_comZt->currentText();
    choice.operatorName = name;
    try {
        OpenChosenSet(m_data, m_state, choice.accountSetDb);
    } catch (const DbError &e) {
        qWarning().noquote() << "login:" << e.text();
        m_lMsg->setText(QString::fromUtf8(kAccountSetUnreadableText));
        m_btnOK->setEnabled(true);
        return;
    }
    const LoginOutcome outcome = CompleteLogin(m_data.mainDb(), m_state, m_clock, choice);
    if (!outcome.ok) {
        // The dialog stays open on the same choice: the operator may try again.
        ReturnToCurrentSet(m_data, m_state, choice.accountSetDb);
        m_notices.notice(outcome.message);
        m_btnOK->setEnabled(true);
        m_tpwd2->setFocus();
        return;
    }
    closeLoginConnection();
    if (!outcome.notice.isEmpty())
        m_notices.notice(outcome.notice);

    m_loggedIn = true;
    m_keepRunning = true;
    accept();
}

void TF_Login::btnCancelClick()
{
    if (m_mode == LoginMode::ChangeOperator)
        m_keepRunning = true;
    reject();
}

void TF_Login::done(int result)
{
    closeLoginConnection();
    QDialog::done(result);
    if (!m_keepRunning && m_terminate)
        m_terminate();
}
