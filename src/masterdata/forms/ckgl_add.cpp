#include "masterdata/forms/ckgl_add.h"

#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/warehouserules.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

TF_Ckgl_Edit::TF_Ckgl_Edit(bool modify, const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context), m_modify(modify)
{
    setObjectName(modify ? QStringLiteral("TF_Ckgl_Modi") : QStringLiteral("TF_Ckgl_Add"));
    setWindowTitle(modify ? QStringLiteral("修改仓库") : QStringLiteral("增加仓库"));
    auto *layout = new QHBoxLayout(this);
    auto *left = new QVBoxLayout;
    auto *form = new QFormLayout;
    auto box = [this, form](const char *label, const char *name, int length) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(length);
        InstallCharFilter(e, CharFilter::Standard);
        form->addRow(QString::fromUtf8(label), e);
        return e;
    };
    m_name = box("仓库名称：", "tname", 32);
    m_keeper = box("负  责  人：", "tfzr", 16);
    m_tele = box("联系电话：", "ttele", 32);
    m_address = box("仓库地址：", "taddress", 32);
    m_note = box("备        注：", "tnote", 64);
    m_default = new QCheckBox(QStringLiteral("默认仓库"), this);
    m_default->setObjectName(QStringLiteral("chkDefault"));
    m_pos = new QCheckBox(QStringLiteral("默认POS仓库"), this);
    m_pos->setObjectName(QStringLiteral("chkPos"));
    m_pos->hide();
    form->addRow(QString(), m_default);
    left->addLayout(form);
    const ConfirmButtons b = AddConfirmButtons(this, QStringLiteral("保存(F5)"), "btnExit", QStringLiteral("退出(Esc)"),
                                               [this] { save(); });
    b.ok->setObjectName(QStringLiteral("btnSave"));
    left->addStretch();
    left->addLayout(b.row);
    layout->addLayout(left, 1);
    auto *right = new QFormLayout;
    m_tree = new CheckTree(this);
    m_tree->setObjectName(QStringLiteral("treeAdmin"));
    right->addRow(QStringLiteral("操作员："), m_tree);
    layout->addLayout(right, 1);
    keys()->setEnterMovesFocus(true);
    connect(this, &ScreenDialog::opened, this, &TF_Ckgl_Edit::activate);
}

void TF_Ckgl_Edit::activate()
{
    WarehouseRules rules(m_context.data->mainDb(), *m_context.notices);
    m_tree->clear();
    QTreeWidgetItem *root = m_tree->addRoot(m_modify ? QStringLiteral("选择负责人") : QStringLiteral("选择操作员"));
    const KeyedItems operators = rules.operators();
    for (const KeyedItem &o : operators)
        m_tree->addChild(root, o.text, o.key);
    m_tree->expandAll();
    if (m_modify) {
        m_code = property(handoff::WarehouseSn).toString();
        const QVariantMap r = rules.record(m_code);
        m_name->setText(r.value(QStringLiteral("ck_name")).toString());
        m_keeper->setText(r.value(QStringLiteral("ck_fzr")).toString());
        m_tele->setText(r.value(QStringLiteral("ck_tele")).toString());
        m_address->setText(r.value(QStringLiteral("ck_address")).toString());
        m_note->setText(r.value(QStringLiteral("ck_note")).toString());
        m_default->setChecked(r.value(QStringLiteral("ck_default")).toString() == QLatin1String("1"));
        m_pos->setChecked(r.value(QStringLiteral("ck_pos")).toString() == QLatin1String("1"));
        m_tree->setChildStates(TickedChildren(operators, r.value(QStringLiteral("ck_aname")).toString(),
                                              r.value(QStringLiteral("ck_asn")).toString()));
    }
    m_name->setFocus();
}

void TF_Ckgl_Edit::save()
{
    WarehouseInput in;
    in.name = m_name->text();
    in.keeper = m_keeper->text();
    in.telephone = m_tele->text();
    in.address = m_address->text();
    in.note = m_note->text();
    in.isDefault = m_default->isChecked();
    for (QTreeWidgetItem *c : m_tree->children())
        if (c->checkState(0) == Qt::Checked)
            in.operators << KeyedItem{c->text(0), c->data(0, Qt::UserRole).toString()};
    WarehouseRules rules(m_context.data->mainDb(), *m_context.notices);
    const RecordSaveResult r = m_modify ? rules.modify(m_code, in) : rules.add(in);
    if (!r.saved())
        return;
    setProperty(handoff::WarehouseSn, r.code);
    accept();
}
