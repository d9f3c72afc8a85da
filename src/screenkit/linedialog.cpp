#include "screenkit/linedialog.h"

#include "screenkit/datagrid.h"
#include "screenkit/editors.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

LineDialog::LineDialog(const QString &caption, int uiFontSize, QWidget *parent) : ScreenDialog(uiFontSize, parent)
{
    setWindowTitle(caption);
    auto *entry = new QWidget(this);
    entry->setObjectName(QStringLiteral("lineBoxes"));
    auto *infoBox = new QGroupBox(QStringLiteral("商品信息"), entry);
    m_info = new QFormLayout(infoBox);
    auto *editBox = new QWidget(entry);
    m_edits = new QFormLayout(editBox);
    auto *ev = new QHBoxLayout(entry);
    ev->setContentsMargins(0, 0, 0, 0);
    ev->addWidget(infoBox, 1);
    ev->addWidget(editBox, 1);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("linePages"));
    m_historyPage = new QWidget;
    m_history = new DataGrid(m_historyPage);
    m_history->setObjectName(QStringLiteral("historyGrid"));
    auto *hv = new QVBoxLayout(m_historyPage);
    hv->setContentsMargins(0, 0, 0, 0);
    hv->addWidget(m_history);
    m_pages->addTab(m_historyPage, QStringLiteral("历史记录"));

    m_picture = new QPushButton(QStringLiteral("查看图片(F4)"), this);
    m_picture->setObjectName(QStringLiteral("btnPicture"));
    m_ok = new QPushButton(QStringLiteral("确定(F5)"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_exit = new QPushButton(QStringLiteral("退出(Esc)"), this);
    m_exit->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton *b : {m_picture, m_ok, m_exit})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_picture);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_exit);
    auto *v = new QVBoxLayout(this);
    v->addWidget(entry);
    v->addWidget(m_pages, 1);
    v->addLayout(buttons);

    keys()->setEnterMovesFocus(true);
    keys()->bind(Qt::Key_F4, [this] { m_picture->click(); });
    keys()->bind(Qt::Key_F5, [this] { onConfirm(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(m_ok, &QPushButton::clicked, this, &LineDialog::onConfirm);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_picture, &QPushButton::clicked, this, [this] {
        if (showPicture)
            showPicture();
    });
    connect(this, &ScreenDialog::opened, this, [this] {
        if (applyRights)
            applyRights();
    });
}

QLabel *LineDialog::addInfo(const QString &field, const QString &caption)
{
    auto *value = new QLabel(this);
    value->setObjectName(field);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_info->addRow(caption, value);
    m_infoLabels.insert(field, value);
    return value;
}

void LineDialog::addGoodsInfo()
{
    const char *const labels[][2] = {{"g_sn", "商品编号："},         {"g_name", "商品名称："},
                                     {"gg_name", "规格型号："},      {"dw_name", "单        位："},
                                     {"g_sccs", "生产厂商："},       {"color_name", "颜        色："},
                                     {"kc_sl", "当前库存："},        {"g_bz", "备        注："}};
    for (const auto &l : labels)
        addInfo(QString::fromLatin1(l[0]), QString::fromUtf8(l[1]));
}

void LineDialog::setInfoText(const QString &field, const QString &text)
{
    if (QLabel *label = m_infoLabels.value(field))
        label->setText(text);
}

QWidget *LineDialog::addRateEdit(MoneyEdit *edit)
{
    auto *row = new QWidget(this);
    edit->setParent(row);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    layout->addWidget(new QLabel(QStringLiteral("%"), row));
    addEdit(QStringLiteral("税率："), row);
    return row;
}

void LineDialog::setInfo(const QVariantMap &values)
{
    for (auto it = m_infoLabels.cbegin(); it != m_infoLabels.cend(); ++it)
        it.value()->setText(values.value(it.key()).toString());
}

QString LineDialog::infoText(const QString &field) const
{
    QLabel *label = m_infoLabels.value(field);
    return label ? label->text() : QString();
}

void LineDialog::setInfoRowVisible(const QString &field, bool visible)
{
    if (QLabel *label = m_infoLabels.value(field))
        m_info->setRowVisible(label, visible);
}

QLabel *LineDialog::addEdit(const QString &caption, QWidget *editor)
{
    auto *label = new QLabel(caption, this);
    m_edits->addRow(label, editor);
    return label;
}

void LineDialog::setEditRowVisible(QWidget *editor, bool visible)
{
    m_edits->setRowVisible(editor, visible);
}

void LineDialog::setHistoryCaption(const QString &caption)
{
    m_pages->setTabText(m_pages->indexOf(m_historyPage), caption);
}

void LineDialog::onConfirm()
{
    if (!isVisible())
        return;
    ConfirmGridEdits(this);
    BusyGuard busy(m_ok);
    if (!busy.acquired())
        return;
    if (!confirm || confirm())
        accept();
}
