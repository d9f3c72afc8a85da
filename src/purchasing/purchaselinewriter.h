#pragma once

// The rules of the purchase line dialog (receipt, return and order variants): what it shows at
// its opening, the price of a unit, its history and quotes, and what 确定 writes by mode.

#include "foundation/db/liststatement.h"
#include "foundation/lineentrymodel.h"
#include "foundation/lineopening.h"
#include "foundation/linemode.h"
#include "purchasing/purchasedoc.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

// What the dialog is to do ("cgjh_new", "cgjh", "cgjh_add", "cgjh_modi", "cgjh_modish"; the
// return's "cgth", "cgth_add", "cgth_modi", "cgth_modish", no insert; the order uses the
// receipt's): foundation/linemode.h.
LineMode LineModeFromTag(PurchaseKind kind, const QString &tag);
QString LineModeTag(PurchaseKind kind, LineMode mode);
// The linked boxes' rules of a kind.
LineRules PurchaseLineRules(PurchaseKind kind);

struct LineOpening : LineDialogOpening
{
    double lastPrice = 0.0;  // g_scjj
};

struct LineInput
{
    LineEntryModel::Values values;
    QString unit;
    bool baseUnit = true;
    double storedUnitFactor = 0.0;  // the stored unit outside the list: its factor
    QString note;
    QString stockText;              // the stock label (return's check)
    QString sourceNumber;
    QString sourceLineId = QStringLiteral("0");
};

class PurchaseLineWriter
{
public:
    PurchaseLineWriter(const QSqlDatabase &db, const LoginState &state, Notices &notices, PurchaseKind kind);

    PurchaseKind kind() const { return m_kind; }

    // Opening (once per opening): the goods, its stock in the context's warehouse, the units,
    // the default price by PurchasePriceDefault; by mode the stored line's values or the
    // defaults (base unit, quantity 1, discount 1, rate DefaultTaxRate, empty note).
    LineOpening open(const DocumentContext &context, LineMode mode, const QString &goods, qint64 lineId) const;

    // The price of a unit by PurchasePriceDefault: the goods' own for the base unit, else the
    // unit's row of jxc_goodsdw (0 when it has none).
    double unitPrice(const QString &goods, const QString &unit, bool baseUnit) const;

    // History: the ten newest lines of audited receipts of the goods (of `supplier` when
    // ShowSupplierHistory is not off) by number and id descending; the order's of audited
    // orders by line id descending. Columns j_jhrq, gl_djh, jh_dj, jh_sl, jh_zje.
    ListStatement history(const QString &goods, const QString &supplier) const;
    // The order's quotes: the first ten of jxc_ghsbj for the goods and supplier, by id, with
    // the goods' g_jj, g_sj and the quoting employee's u_name.
    ListStatement quotes(const QString &goods, const QString &supplier) const;
    int quoteCount(const QString &goods, const QString &supplier) const;

    // 确定: refuses a quantity of 0 or less ("数量不能为0或负数，重新输入！"); rounds the
    // prices to PriceDecimals; the return checks the stock (quantity × factor against the stock
    // shown); then writes by mode in one transaction (insert: after the number test, the
    // context taking a new number) and tells the context that its lines changed. A database
    // error shows "添加商品失败：" or "修改商品失败：" with its text and writes nothing.
    PurchaseResult write(DocumentContext &context, LineMode mode, const QString &goods, qint64 lineId,
                         const LineInput &input);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
    PurchaseKind m_kind;
};
