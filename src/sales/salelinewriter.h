#pragma once

// The rules of the sale line dialog TF_Spxs_Sele and of the price-level chooser TF_Price: what
// the dialog shows at its opening (goods, stock, units, the customer's price, the stored line
// by mode, the warehouse cost), the price and retail price of a unit, the sale and purchase
// histories, the goods' six preset prices, and what 确定 checks and writes by mode.

#include "foundation/db/liststatement.h"
#include "foundation/lineentrymodel.h"
#include "foundation/lineopening.h"
#include "foundation/linemode.h"
#include "sales/saledoc.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

// "spxs_new", "spxs", "spxs_add", "spxs_modi", "spxs_modish"; anything else: None.
LineMode SaleLineModeFromTag(const QString &tag);
QString SaleLineModeTag(LineMode mode);

struct SaleLineOpening : LineDialogOpening
{
    double retail = 0.0;
    double cost = 0.0;  // per base unit
};

struct SaleLineInput
{
    LineEntryModel::Values values;
    QString unit;
    double storedUnitFactor = 0.0;  // the stored unit outside the list: its factor
    double retail = 0.0;
    double cost = 0.0;              // per base unit
    QString note;
    QString stockText;              // the stock label read at the opening
    QString sourceNumber;
    QString sourceLineId = QStringLiteral("0");
};

struct SaleUnitPrice
{
    double price = 0.0;
    double retail = 0.0;
};

class SaleLineWriter
{
public:
    SaleLineWriter(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // The cost box shows with AllowSaleCostEdit and the right xsgl 15.
    bool costShown() const;

    // Opening: the goods, its stock in the context's warehouse, the units; price g_sj or the
    // customer level's column (when not 0), retail g_lsj, discount 1, quantity 1, the warehouse
    // cost per base unit on the context's cost date; new modes: base unit, DefaultTaxRate and
    // the customer's sale price; edit modes: the stored row (its discount kept, its cost only
    // when the cost box shows, its unit kept even when the list lacks it).
    SaleLineOpening open(const DocumentContext &context, LineMode mode, const QString &goods, qint64 lineId) const;

    // The customer's price and the retail price of a unit (the base unit's from jxc_goods).
    SaleUnitPrice unitPrice(const QString &customer, const QString &goods, const QString &unit, bool baseUnit) const;

    // The 20 newest lines of audited sales of the goods (the customer's unless
    // ShowCustomerHistory is "0" or "False"), by number then line id descending: ls_xsrq,
    // gl_djh, ls_dj, ls_sl, ls_zje, dw_name.
    ListStatement saleHistory(const QString &goods, const QString &customer) const;
    // The 10 newest lines of audited purchase receipts of the goods: j_jhrq, gl_djh, jh_dj,
    // jh_sl, jh_zje.
    ListStatement purchaseHistory(const QString &goods) const;

    // The goods' g_sj, g_sj1 … g_sj5 (TF_Price).
    std::array<double, 6> presetPrices(const QString &goods) const;

    // 确定 with the values as the dialog holds them: the checks in order (discount above 0,
    // quantity above 0, MinSaleDiscount, stock against the label), then a line given by its
    // total alone (total above 0, price 0) priced from it (LineEntryModel::deriveFromTotal), then
    // the questions on the preset purchase price and on the cost; each refusal shown and each
    // question asked before anything is written; then the line by mode in one transaction
    // ("spxs_new" after the number test, the operator's lines following a new number;
    // "spxs_modish" also takes the operator). The document lines' context hears that its lines
    // changed. A database error shows "添加商品失败：" or "修改商品失败：" and its text.
    SaleResult write(DocumentContext &context, LineMode mode, const QString &goods, qint64 lineId,
                     const SaleLineInput &input);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
