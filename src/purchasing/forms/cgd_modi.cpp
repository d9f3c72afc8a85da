#include "purchasing/forms/cgd_modi.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/sqlnames.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "purchasing/forms/modidatejh.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QLabel>

TF_Cgd_Modi::TF_Cgd_Modi(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context),
      m_rules(context.data->mainDb(), *context.state, *context.clock, *context.notices), m_fields(this)
{
    setObjectName(QStringLiteral("TF_Cgd_Modi"));
    setWindowTitle(QStringLiteral("修改开单日期"));
    m_supplier = WithName(new KeyedCombo(this), "comGhs");
    m_fields.addHeadRows(m_supplier);
    m_fields.finish([this] { save(); });
    connect(m_fields.date, &QDateEdit::dateChanged, this, &TF_Cgd_Modi::onDateChanged);
    keys()->setEnterMovesFocus(true);
    connect(this, &ScreenDialog::opened, this, &TF_Cgd_Modi::activate);
}

void TF_Cgd_Modi::activate()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const LoginState &state = *m_context.state;
    m_filling = true;
    m_fields.fillLists(db, state);
    FillKeyedCombo(m_supplier, LoadKeyedComboWhere(db, QStringLiteral("jxc_ghsxx"), QStringLiteral("ghs_name"),
                                                   QStringLiteral("ghs_sn"), QStringLiteral("id"),
                                                   SqlWhere(QStringLiteral("ghs_forbid = 0"), {})),
                   true);
    m_doc = m_rules.open(property(handoff::DocumentNumber).toString());
    if (m_doc) {
        m_fields.show(*m_doc);
        if (!m_supplier->selectText(m_doc->supplierName) && m_supplier->count() > 0)
            m_supplier->setCurrentIndex(0);
    }
    for (QWidget *w : std::as_const(m_fields.accountRow))
        w->setVisible(IsTrue(state.UseCashBank));
    for (QWidget *w : std::as_const(m_fields.amountRows))
        w->setVisible(state.RightShowCost);
    m_filling = false;
}

void TF_Cgd_Modi::onDateChanged(const QDate &date)
{
    if (!m_filling && m_doc)
        ShowNumberForDay(m_context, m_rules, *m_doc, m_fields.date, m_fields.number, m_filling, date);
}

void TF_Cgd_Modi::save()
{
    if (!m_doc)
        return;
    DateChangeInput in;
    m_fields.read(in);
    in.supplierSn = m_supplier->currentKey();
    in.supplierName = m_supplier->currentText();
    in.supplierText = in.supplierName;
    const PurchaseResult r = m_rules.save(*m_doc, m_fields.number->text(), in);
    if (r.done()) {
        setProperty(handoff::NewNumber, r.number);
        accept();
    }
}
