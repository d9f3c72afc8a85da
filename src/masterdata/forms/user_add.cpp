#include "masterdata/forms/user_add.h"

#include "masterdata/bindinglistrules.h"
#include "masterdata/employeerules.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/partnerkind.h"

#include "foundation/datamodule.h"
#include "foundation/db/numbers.h"
#include "foundation/forms/combofill.h"
#include "foundation/loginstate.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

TF_User_Edit::TF_User_Edit(bool modify, const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context), m_modify(modify)
{
    setObjectName(modify ? QStringLiteral("TF_User_Modi") : QStringLiteral("TF_User_Add"));
    setWindowTitle(modify ? QStringLiteral("修改员工") : QStringLiteral("增加员工"));
    auto *outer = new QVBoxLayout(this);
    auto *form = new QGridLayout;
    outer->addLayout(form);
    auto label = [this](const char *text) { return new QLabel(QString::fromUtf8(text), this); };
    auto box = [this](const char *name, int length) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(length);
        InstallCharFilter(e, CharFilter::Standard);
        return e;
    };
    m_name = box("tname", 16);
    m_duty = box("tduty", 16);
    form->addWidget(label("员工姓名："), 0, 0);
    form->addWidget(m_name, 0, 1);
    form->addWidget(label("所任职务："), 0, 2);
    form->addWidget(m_duty, 0, 3);

    m_rate = new MoneyEdit(this);
    m_rate->setObjectName(QStringLiteral("ttc"));
    m_rate->setDecimals(2);
    m_rate->setMaxLength(5);
    m_rate->setDisplayFormat(QStringLiteral("0.00"));
    m_rate->setMinusIgnored(true);
    form->addWidget(label("提成比例："), 1, 0);
    form->addWidget(m_rate, 1, 1);
    form->addWidget(label("(例如,输入5表示提成5%)"), 1, 2, 1, 2);

    m_mode = new QComboBox(this);
    m_mode->setObjectName(QStringLiteral("comTcfs"));
    m_mode->addItems({QString::fromUtf8(kCommissionOnSales), QString::fromUtf8(kCommissionOnMargin)});
    form->addWidget(label("提成方式："), 2, 0);
    form->addWidget(m_mode, 2, 1);
    m_margin = new QLineEdit(this);
    m_margin->setObjectName(QStringLiteral("tzdlr"));
    m_margin->setMaxLength(5);
    m_margin->setValidator(new QIntValidator(0, 99999, m_margin));
    auto *marginRow = new QHBoxLayout;
    marginRow->addWidget(label("单个商品毛利超过："));
    marginRow->addWidget(m_margin);
    marginRow->addWidget(label("元开始提成"));
    form->addLayout(marginRow, 2, 2, 1, 2);

    m_tele = box("ttele", 32);
    m_address = box("taddress", 64);
    m_note = box("tnote", 100);
    form->addWidget(label("联系电话："), 3, 0);
    form->addWidget(m_tele, 3, 1, 1, 3);
    form->addWidget(label("联系地址："), 4, 0);
    form->addWidget(m_address, 4, 1, 1, 3);
    form->addWidget(label("备        注："), 5, 0);
    form->addWidget(m_note, 5, 1, 1, 3);

    auto check = [this](const char *text, const char *name) {
        auto *c = new QCheckBox(QString::fromUtf8(text), this);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    m_purchasing = check("进货管理", "chkCg");
    m_sales = check("销售管理", "chkXs");
    m_stock = check("库存管理", "chkKc");
    m_disabled = check("禁用", "chkJy");
    auto *rights = new QHBoxLayout;
    for (QCheckBox *c : {m_purchasing, m_sales, m_stock, m_disabled})
        rights->addWidget(c);
    rights->addStretch();
    form->addWidget(label("业务权限："), 6, 0);
    form->addLayout(rights, 6, 1, 1, 3);

    m_warehouse = new KeyedCombo(this);
    m_warehouse->setObjectName(QStringLiteral("comCk"));
    m_warehouseLabel = label("绑定仓库：");
    form->addWidget(m_warehouseLabel, 7, 0);
    form->addWidget(m_warehouse, 7, 1);

    const ConfirmButtons b = AddConfirmButtons(this, QStringLiteral("确定(F5)"), "btnCancel", QStringLiteral("取消(Esc)"),
                                               [this] { save(); });
    outer->addLayout(b.row);
    keys()->setEnterMovesFocus(true);
    connect(m_mode, &QComboBox::currentIndexChanged, this, [this](int index) { m_margin->setEnabled(index == 1); });
    connect(this, &ScreenDialog::opened, this, &TF_User_Edit::activate);
}

void TF_User_Edit::activate()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const BindingList binding = WarehouseBindingList(db, *m_context.state);
    FillKeyedCombo(m_warehouse, binding.items);
    m_warehouse->setCurrentIndex(binding.items.isEmpty() ? -1 : binding.chosen);
    const bool bindingShown = IsTrue(m_context.state->BindPartnersToWarehouse);
    m_warehouse->setVisible(bindingShown);
    m_warehouseLabel->setVisible(bindingShown);
    if (!m_modify) {
        m_mode->setCurrentIndex(0);
        m_rate->setValue(0);
        m_margin->setText(QStringLiteral("0"));
        m_margin->setEnabled(false);
        for (QCheckBox *c : {m_purchasing, m_sales, m_stock})
            c->setChecked(true);
        m_disabled->setChecked(false);
        m_name->setFocus();
        return;
    }
    m_id = property(handoff::EmployeeId).toLongLong();
    const QVariantMap r = EmployeeRules(db, *m_context.state, *m_context.notices).record(m_id);
    auto text = [&](const char *c) { return r.value(QString::fromLatin1(c)).toString(); };
    m_name->setText(text("u_name"));
    m_duty->setText(text("u_duty"));
    m_mode->setCurrentIndex(text("u_tcfs") == QLatin1String("1") ? 1 : 0);
    m_margin->setEnabled(m_mode->currentIndex() == 1);
    m_rate->setValue(TextToNumber(text("u_tc")));
    m_margin->setText(QString::number(qint64(std::trunc(TextToNumber(text("u_zdlr"))))));
    m_tele->setText(text("u_tele"));
    m_address->setText(text("u_address"));
    m_note->setText(text("u_note"));
    m_purchasing->setChecked(text("u_cg") == QLatin1String("1"));
    m_sales->setChecked(text("u_xs") == QLatin1String("1"));
    m_stock->setChecked(text("u_kc") == QLatin1String("1"));
    m_disabled->setChecked(text("u_jy") == QLatin1String("1"));
    m_warehouse->setCurrentIndex(-1);
    m_warehouse->selectKey(text("ck_sn"));
    m_warehouse->setEnabled(text("u_sn") != QLatin1String(kBuiltInSn));
    m_name->setFocus();
}

void TF_User_Edit::save()
{
    EmployeeInput in;
    in.name = m_name->text();
    in.duty = m_duty->text();
    in.rate = m_rate->value();
    in.mode = m_mode->currentIndex() == 1 ? 1 : 0;
    in.margin = m_margin->text().toInt();
    in.telephone = m_tele->text();
    in.address = m_address->text();
    in.note = m_note->text();
    in.purchasing = m_purchasing->isChecked();
    in.sales = m_sales->isChecked();
    in.stock = m_stock->isChecked();
    in.disabled = m_disabled->isChecked();
    if (m_warehouse->currentIndex() >= 0) {
        in.warehouseSn = m_warehouse->currentKey();
        in.warehouseName = m_warehouse->currentText();
    }
    EmployeeRules rules(m_context.data->mainDb(), *m_context.state, *m_context.notices);
    const RecordSaveResult r = m_modify ? rules.modify(m_id, in) : rules.add(in);
    if (!r.saved())
        return;
    if (m_mode->currentIndex() == 0)
        m_margin->setText(QStringLiteral("0"));
    setProperty(handoff::EmployeeCode, r.code);
    accept();
}
