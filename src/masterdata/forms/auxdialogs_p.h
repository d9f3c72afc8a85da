#pragma once

// Shared pieces of the unit and barcode dialogs.

#include "masterdata/auxunitrules.h"
#include "masterdata/forms/masterdatascreens.h"

#include "foundation/loginstate.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace auxdialogs {

inline AuxContext contextOf(const QDialog *d, const LoginState &state)
{
    AuxContext c;
    c.mode = AuxModeFromTag(d->property(handoff::AuxMode).toString());
    c.rowId = d->property(handoff::RowId).toLongLong();
    c.operatorName = state.CurrentOperatorName;
    c.goodsCode = d->property(handoff::GoodsCode).toString();
    c.baseUnit = d->property(handoff::BaseUnit).toString();
    c.mainBarcode = d->property(handoff::MainBarcode).toString();
    return c;
}

inline QHBoxLayout *saveExitRow(QDialog *d, QPushButton *&save)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    save = new QPushButton(QStringLiteral("保存(F5)"), d);
    save->setObjectName(QStringLiteral("btnSave"));
    auto *exit = new QPushButton(QStringLiteral("退出(Esc)"), d);
    exit->setObjectName(QStringLiteral("btnExit"));
    row->addWidget(save);
    row->addWidget(exit);
    QObject::connect(exit, &QPushButton::clicked, d, &QDialog::reject);
    return row;
}

}  // namespace auxdialogs
