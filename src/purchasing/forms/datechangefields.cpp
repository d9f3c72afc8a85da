#include "purchasing/forms/datechangefields.h"

#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include "screenkit/screenbase.h"
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

DateChangeFields::DateChangeFields(ScreenDialog *dialog) : m_dialog(dialog), m_grid(new QGridLayout)
{
    number = WithName(new QLabel(dialog), "gldjh");
    date = WithName(new DateEdit(dialog), "dateCg");
    date->setKeyboardTracking(false);
    warehouse = WithName(new KeyedCombo(dialog), "comCk2");
    handler = WithName(new KeyedCombo(dialog), "comUser");
    note = WithName(new QLineEdit(dialog), "tnote");
    note->setMaxLength(200);
    settle = WithName(new KeyedCombo(dialog), "comJsfs");
    account = WithName(new KeyedCombo(dialog), "comYhzh");
    payable = WithName(new MoneyEdit(dialog), "tyfje");
    payable->setReadOnly(true);
    payable->setMaxLength(10);
    paid = WithName(new MoneyEdit(dialog), "tsfje");
    paid->setMaxLength(9);
    originalNo = WithName(new QLineEdit(dialog), "tsn2");
    originalNo->setMaxLength(32);
}

QList<QWidget *> DateChangeFields::addRow(const char *caption, QWidget *box)
{
    auto *label = new QLabel(QString::fromUtf8(caption), m_dialog);
    m_grid->addWidget(label, m_row, 0);
    m_grid->addWidget(box, m_row++, 1);
    m_boxes.append(box);
    return {label, box};
}

void DateChangeFields::addHeadRows(QWidget *supplier)
{
    addRow("单号：", number);
    addRow("开单日期：", date);
    addRow("进货仓库：", warehouse);
    addRow("供货商名称：", supplier);
    addRow("经办人：", handler);
    addRow("单据备注：", note);
    settleRow = addRow("结算方式：", settle);
    accountRow = addRow("付款账户：", account);
    // One call a statement: the two sides of a + are called in no set order.
    amountRows = addRow("应付金额：", payable);
    amountRows += addRow("实付金额：", paid);
}

void DateChangeFields::finish(std::function<void()> save)
{
    originalRow = addRow("原始单号：", originalNo);
    auto *v = new QVBoxLayout(m_dialog);
    v->addLayout(m_grid);
    const ConfirmButtons buttons = AddConfirmButtons(m_dialog, QStringLiteral("保存(F5)"), "btnExit",
                                                     QStringLiteral("退出(Esc)"), std::move(save));
    v->addLayout(buttons.row);
    // Tab and Enter go down the rows as they show, whichever dialog made its boxes first.
    QList<QWidget *> chain;
    for (QWidget *box : std::as_const(m_boxes)) {
        if (box->focusPolicy() != Qt::NoFocus) {
            chain.append(box);
            continue;
        }
        for (QWidget *child : box->findChildren<QWidget *>())
            if (child->focusPolicy() != Qt::NoFocus)
                chain.append(child);
    }
    chain << buttons.ok << buttons.close;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void DateChangeFields::fillLists(const QSqlDatabase &db, const LoginState &state)
{
    FillKeyedCombo(settle, LoadSettleCombo(QStringLiteral("cg")));
    FillKeyedCombo(account, LoadKeyedCombo(db, QStringLiteral("jxc_yhzh"), QStringLiteral("yh_name"), QStringLiteral("yh_sn"),
                                           QStringLiteral("id")));
    FillKeyedCombo(warehouse, LoadOperatorWarehouses(db, state), true);
    FillKeyedCombo(handler, LoadUserCombo(db, state, QStringLiteral("u_cg")), true);
    SetMoneyEditFormat(payable, state);
    SetMoneyEditFormat(paid, state);
}

void DateChangeFields::show(const DateChangeDoc &doc)
{
    number->setText(doc.oldNumber);
    date->setDate(QDate::fromString(doc.oldDay, QStringLiteral("yyyy-MM-dd")));
    if (!warehouse->selectText(doc.warehouseName) && warehouse->count() > 0)
        warehouse->setCurrentIndex(0);
    handler->selectText(doc.handlerName);
    note->setText(doc.note);
    settle->setCurrentIndex(doc.settleIndex);
    account->selectText(doc.accountName);
    payable->setValue(doc.payable);
    paid->setValue(doc.paid);
    originalNo->setText(doc.originalNo);
}

void DateChangeFields::read(DateChangeInput &in) const
{
    in.day = date->date().toString(QStringLiteral("yyyy-MM-dd"));
    in.warehouseSn = warehouse->currentKey();
    in.handlerSn = handler->currentKey();
    in.note = note->text();
    in.settleIndex = settle->currentIndex();
    in.accountText = account->currentText();
    in.payable = payable->value();
    in.paid = paid->value();
    in.originalNo = originalNo->text();
}
