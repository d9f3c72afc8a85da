#include "masterdata/forms/dept_sele.h"

#include "masterdata/departmentrules.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/masterlist.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TF_Dept_Sele::TF_Dept_Sele(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Dept_Sele"));
    setWindowTitle(QStringLiteral("部门信息"));
    auto *layout = new QVBoxLayout(this);
    m_name = AddNameRow(this, layout, QStringLiteral("部门名称："), 32);
    InstallCharFilter(m_name, CharFilter::Standard);
    const ConfirmButtons b = AddConfirmButtons(this, QStringLiteral("保存(F5)"), "btnExit", QStringLiteral("退出(Esc)"),
                                               [this] { save(); });
    b.ok->setObjectName(QStringLiteral("btnSave"));
    layout->addLayout(b.row);
    connect(this, &ScreenDialog::opened, this, [this] {
        m_name->setText(property(handoff::DeptMode).toString() == QLatin1String("modi")
                            ? property(handoff::DeptName).toString()
                            : QString());
        m_name->setFocus();
    });
}

void TF_Dept_Sele::save()
{
    const bool rename = property(handoff::DeptMode).toString() == QLatin1String("modi");
    const RecordSaveResult r = DepartmentRules(m_context.data->mainDb(), *m_context.notices)
                                   .save(rename ? property(handoff::DeptId).toLongLong() : 0, m_name->text());
    if (!r.saved())
        return;
    setProperty(handoff::DeptCode, r.code);
    accept();
}
