#pragma once

// Customers (jxc_khxx) and suppliers (jxc_ghsxx): adding with an opening receivable or payable,
// modifying with the push of a new name into ledger and cash rows and the update of the opening
// balance, deleting, disabling and the short code. One class, driven by the partner kind.
// Refusals ("系统提示") and questions ("信息提醒") go through the notice service in the order
// the screens show them; a refusal or a No writes nothing. Every action is one transaction; a
// database error writes nothing and is shown. No log lines. QtCore + QtSql.

#include "masterdata/partnerkind.h"
#include "masterdata/recordsave.h"

#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

class Clock;
class Notices;
struct LoginState;

// What the add and modify dialogs gather.
struct PartnerInput
{
    QString name;
    QString contact;
    QString telephone;
    QString address;
    QString note;
    QString region;
    double opening = 0;          // 期初应收 / 期初应付
    bool openingEnabled = true;  // modify: whether the box was enabled when the dialog opened
    bool isDefault = false;
    bool disabled = false;
    QString typeKey;             // customers: kt_sn of the chosen type
    QString typeName;            // suppliers: the text of the type list (may be empty)
    KeyedItems salesmen;         // customers: the ticked employees (u_name, u_sn) in tree order
    // The chosen binding item; an empty key keeps the stored binding (modify: the list did not
    // offer it and the operator chose nothing).
    QString warehouseSn;
    QString warehouseName;
};

class PartnerRules
{
public:
    PartnerRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                 PartnerKind kind);

    const PartnerKindInfo &info() const { return m_info; }

    // "确定(F5)" of the add dialog: the new code on success.
    RecordSaveResult add(const PartnerInput &input);
    // "确定(F5)" of the modify dialog on the row `id`.
    RecordSaveResult modify(qint64 id, const PartnerInput &input);
    // "删除": the usage test, the built-in record, the question; true when deleted.
    bool remove(qint64 id);
    // "禁用(&V)": kh_forbid / ghs_forbid of the row. True when written.
    bool setDisabled(qint64 id, bool disabled);
    // The short-code dialog's text, trimmed and upper-cased. True when written.
    bool setShortCode(qint64 id, const QString &typed);

    // The row `id` (columns by lower-case name, numbers as number texts); empty when gone.
    QVariantMap record(qint64 id) const;
    // Whether nothing was posted to the partner since its opening balance: its newest ledger
    // row is the opening one (the modify dialog's amount box is enabled).
    bool openingEditable(const QString &code) const;
    // Whether documents, registrations, ledger rows (other than the opening ones) or cash rows
    // name the partner.
    bool inUse(const QString &code) const;
    // The name as the table stores it.
    QString storedName(const QString &typed) const;

    // The salesman tree: every employee by id, disabled ones and non-salesmen included.
    KeyedItems employees() const;

private:
    struct Texts;
    Texts texts(const PartnerInput &input, const QVariantMap &stored) const;
    bool refuse(const QString &text) const;
    QString salesmenRefusal(const PartnerInput &input) const;
    void writeOpening(const QString &code, double amount);
    void failed(const QString &text) const;

    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    const PartnerKindInfo &m_info;
};
