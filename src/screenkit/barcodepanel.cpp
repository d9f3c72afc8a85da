#include "screenkit/barcodepanel.h"

#include "foundation/sanitize.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>

BarcodePanel::BarcodePanel(QWidget *parent, bool repeatsItem, bool editorItem) : QFrame(parent)
{
    setObjectName(QStringLiteral("barcodePanel"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);

    auto makeImage = [this](const QString &name) {
        auto *image = new QLabel(this);
        image->setObjectName(name);
        image->setPixmap(style()->standardIcon(QStyle::SP_ArrowRight).pixmap(16, 16));
        image->setCursor(Qt::SizeAllCursor);
        image->installEventFilter(this);
        return image;
    };
    m_leftImage = makeImage(QStringLiteral("barcodeImageLeft"));
    auto *caption = new QLabel(QStringLiteral("条码："), this);
    m_box = new QLineEdit(this);
    m_box->setObjectName(QStringLiteral("barcodeBox"));
    m_box->setMinimumWidth(180);
    m_rightImage = makeImage(QStringLiteral("barcodeImageRight"));

    m_menu = new QMenu(this);
    QAction *hide = m_menu->addAction(QStringLiteral("隐藏条码输入面板(&X)"));
    if (repeatsItem) {
        m_repeats = m_menu->addAction(QStringLiteral("同一条码不能重复添加商品(&Y)"));
        m_repeats->setCheckable(true);
    }
    if (editorItem) {
        m_editor = m_menu->addAction(QStringLiteral("添加完商品后打开修改窗口(&Z)"));
        m_editor->setCheckable(true);
    }
    connect(hide, &QAction::triggered, this, &BarcodePanel::hideRequested);

    m_menuButton = new QToolButton(this);
    m_menuButton->setObjectName(QStringLiteral("barcodeMenuButton"));
    m_menuButton->setMenu(m_menu);
    m_menuButton->setPopupMode(QToolButton::InstantPopup);
    m_menuButton->setArrowType(Qt::DownArrow);
    m_close = new QToolButton(this);
    m_close->setObjectName(QStringLiteral("barcodeCloseButton"));
    m_close->setText(QStringLiteral("×"));
    connect(m_close, &QToolButton::clicked, this, &BarcodePanel::hideRequested);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(m_leftImage);
    row->addWidget(caption);
    row->addWidget(m_box, 1);
    row->addWidget(m_rightImage);
    row->addWidget(m_menuButton);
    row->addWidget(m_close);

    connect(m_box, &QLineEdit::returnPressed, this, [this] {
        // Scanners may send control characters (GS1 separators, CR): they never reach a rule.
        const QString code = StripControls(m_box->text()).trimmed();
        if (code.isEmpty())
            return;
        m_box->clear();
        Q_EMIT barcodeEntered(code);
    });
    adjustSize();
}

bool BarcodePanel::refusesRepeats() const { return m_repeats && m_repeats->isChecked(); }
void BarcodePanel::setRefusesRepeats(bool on)
{
    if (m_repeats)
        m_repeats->setChecked(on);
}
bool BarcodePanel::opensEditorAfterAdd() const { return m_editor && m_editor->isChecked(); }
void BarcodePanel::setOpensEditorAfterAdd(bool on)
{
    if (m_editor)
        m_editor->setChecked(on);
}

bool BarcodePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_leftImage && watched != m_rightImage)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        m_dragging = true;
        m_dragStart = e->globalPosition().toPoint() - pos();
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            auto *e = static_cast<QMouseEvent *>(event);
            move(e->globalPosition().toPoint() - m_dragStart);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return false;
    default:
        return false;
    }
}
