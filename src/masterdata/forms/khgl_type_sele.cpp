#include "masterdata/forms/khgl_type_sele.h"

#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/masterlist.h"
#include "masterdata/partnertyperules.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/dialogparts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TF_Khgl_Type_Sele::TF_Khgl_Type_Sele(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Khgl_Type_Sele"));
    setWindowTitle(QStringLiteral("客户类型修改"));
    auto *layout = new QVBoxLayout(this);
    m_name = AddNameRow(this, layout, QStringLiteral("类型名称："), 16);
    const ConfirmButtons b = AddConfirmButtons(this, QStringLiteral("保存(F5)"), "btnExit", QStringLiteral("退出(Esc)"),
                                               [this] { save(); });
    b.ok->setObjectName(QStringLiteral("btnSave"));
    layout->addLayout(b.row);
    connect(this, &ScreenDialog::opened, this, [this] {
        m_name->setText(property(handoff::TypeName).toString());
        m_name->setFocus();
    });
}

void TF_Khgl_Type_Sele::save()
{
    PartnerTypeRules rules(m_context.data->mainDb(), *m_context.notices);
    if (rules.renameCustomerType(property(handoff::TypeId).toLongLong(), m_name->text()))
        accept();
}
