#pragma once

// Rights of roles, the binding of operators to warehouses, and the hooks that the audit and
// cancel-audit paths consult before they start.
//
// Each row of jxc_role holds one text per module (cggl, xsgl, scjg, scjh, kcgl, wlzk, tjgl,
// rcgl, qtcz); character n (from 1) is "1" when the role holds right n of the module. A
// position past the end of the text is not held. The rights are read afresh at every test.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct LoginState;

// Whether the current role holds right `position` of `module`. When the operator-warehouse
// binding is on (BindOperatorWarehouse "1"), an operator of any role but "100001" who is bound
// to no warehouse holds no right at all. An unknown module raises std::invalid_argument.
bool HasRight(const QSqlDatabase &db, const LoginState &state, const QString &module, int position);

// Whether the role of the operator named `operatorName` holds the right; no warehouse binding.
bool UserHasRight(const QSqlDatabase &db, const QString &module, int position,
                  const QString &operatorName);

// Whether the operator list `ckAsn` of a warehouse ("100001,100003,") names `operatorSn` as a
// whole code: "1000011," does not name "100001".
bool WarehouseBindsOperator(const QString &ckAsn, const QString &operatorSn);

// The codes ck_sn of the warehouses bound to the operator, in code order.
QStringList WarehousesOfOperator(const QSqlDatabase &db, const QString &operatorSn);

// Hooks before an audit and a cancel-audit: "ok" lets the path go on; any other text is shown
// ("系统提示") and the path stops. Both answer "ok".
QString CheckBeforeAudit(const QString &number, const QString &date);
QString CheckBeforeUnaudit(const QString &number);
