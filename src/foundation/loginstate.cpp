#include "foundation/loginstate.h"

#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/rights.h"
#include "foundation/schema/catalog.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtGlobal>

#include <cmath>
#include <iterator>

namespace {

// The text parameters of jxc_xtcs, by field and column, in load order. The three integer
// values (cs_xsws, cs_cbjs, cs_cs031) are read separately.
struct ParamColumn
{
    QString LoginState::*field;
    const char *column;
};

const ParamColumn kParamColumns[] = {
    {&LoginState::PurchasePriceDefault, "cs_cgdj"},
    {&LoginState::SalePriceDefault, "cs_xsdj"},
    {&LoginState::AllowSalePriceEdit, "cs_xgdj"},
    {&LoginState::AllowNegativeStock, "cs_kc"},
    {&LoginState::UseOriginalDocNo, "cs_ysdh"},
    {&LoginState::AutoGoodsCode, "cs_spbh"},
    {&LoginState::PickerEnterSearch, "cs_hcj"},
    {&LoginState::ReturnOnlySuppliedGoods, "cs_ct"},
    {&LoginState::ReturnOnlySoldGoods, "cs_xt"},
    {&LoginState::AuditOnSave, "cs_shdj"},
    {&LoginState::UseCashBank, "cs_xjyh"},
    {&LoginState::PosDiscount, "cs_posdj"},
    {&LoginState::DocDateDefault, "cs_djrq"},
    {&LoginState::PrintLineOrder, "cs_dysx"},
    {&LoginState::WarnShortPrepayment, "cs_cs001"},
    {&LoginState::AllowSaleCostEdit, "cs_cs002"},
    {&LoginState::CurrencySymbol, "cs_hbfh"},
    {&LoginState::CustomerDisplayBaud, "cs_cs004"},
    {&LoginState::UsePurchaseOrder, "cs_cs007"},
    {&LoginState::UseSalesOrder, "cs_cs008"},
    {&LoginState::CostFromStockRow, "cs_cs009"},
    {&LoginState::ChooseSalesPrintFormat, "cs_cs010"},
    {&LoginState::ChoosePurchasePrintFormat, "cs_cs011"},
    {&LoginState::UseGradePrices, "cs_cs013"},
    {&LoginState::DocDateWithTime, "cs_cs014"},
    {&LoginState::SalesRowsPerPage, "cs_cs005"},
    {&LoginState::PurchaseRowsPerPage, "cs_cs006"},
    {&LoginState::NoPrintBeforeSave, "cs_bcqdy"},
    {&LoginState::PrintPurchaseOnSave, "cs_cs016"},
    {&LoginState::PrintSaleOnSave, "cs_djzddy"},
    {&LoginState::PickerDblClickSelect, "cs_tmzdsc"},
    {&LoginState::BarcodeMethod, "cs_tmscff"},
    {&LoginState::SpecialsEarnPoints, "cs_tjcyjf"},
    {&LoginState::PosPayDecimals, "cs_posfkws"},
    {&LoginState::PosHeldTodayOnly, "cs_poshooktoday"},
    {&LoginState::RoundTotals, "cs_zjews"},
    {&LoginState::TotalDecimals, "cs_jews"},
    {&LoginState::UseInvoice, "cs_kp"},
    {&LoginState::UseTax, "cs_hs"},
    {&LoginState::SeparateStockOut, "cs_spck"},
    {&LoginState::SeparateStockIn, "cs_sprk"},
    {&LoginState::UseRetailPrice, "cs_lsj"},
    {&LoginState::UseSms, "cs_sms"},
    {&LoginState::DefaultTaxRate, "cs_tax"},
    {&LoginState::TransferPriceBasis, "cs_dbdj"},
    {&LoginState::UseDiscount, "cs_jhzk"},
    {&LoginState::MinSaleDiscount, "cs_zdzk"},
    {&LoginState::ScanAddsQty, "cs_possk"},
    {&LoginState::UseContractNo, "cs_ht"},
    {&LoginState::UseFreight, "cs_kddy"},
    {&LoginState::UseAuxUnits, "cs_fzdw"},
    {&LoginState::ShowFirstAuxQty, "cs_cs003"},
    {&LoginState::PurchasePaidDefault, "cs_cgje"},
    {&LoginState::SalePaidDefault, "cs_xsje"},
    {&LoginState::ParamDjsh, "cs_djsh"},
    {&LoginState::CodeAsBarcode, "cs_barcode"},
    {&LoginState::UseDocPayment, "cs_barunique"},
    {&LoginState::UseDocReceipt, "cs_zerocost"},
    {&LoginState::BindPartnersToWarehouse, "cs_shtc"},
    {&LoginState::BindOperatorWarehouse, "cs_cgyh"},
    {&LoginState::BindSalesmanCustomer, "cs_xsyh"},
    {&LoginState::SettleDiffMode, "cs_xsjgts"},
    {&LoginState::DefaultSettleMode, "cs_activatets"},
    {&LoginState::ShowCustomerHistory, "cs_activate"},
    {&LoginState::ShowSupplierHistory, "cs_employ"},
    {&LoginState::SummaryShowsDifference, "cs_cs023"},
    {&LoginState::UseWxPay, "cs_wxzf"},
    {&LoginState::UseGoodsShelf, "cs_cs012"},
    {&LoginState::CostMethod, "cs_cs032"},
    {&LoginState::UseGoodsColour, "cs_cs026"},
    {&LoginState::ShowRemindersAtStart, "cs_tx"},
    {&LoginState::ShowTipAtStart, "cs_mryt"},
    {&LoginState::UsePos, "cs_posblur"},
};

// The default row of jxc_xtcs as texts by column: what a new account set starts with, and
// what a column that an older set lacks counts as.
const QHash<QString, QString> &parameterDefaults()
{
    static const QHash<QString, QString> defaults = [] {
        QHash<QString, QString> map;
        const schema::Table &table = schema::Catalog::instance().tableOrThrow(QStringLiteral("jxc_xtcs"));
        if (!table.def || table.def->defaults.empty() || table.def->defaults.front().rows.empty())
            return map;
        const schema::DefaultRows &rows = table.def->defaults.front();
        const QStringList columns = QString::fromLatin1(rows.columns).split(QLatin1Char(','));
        const std::vector<schema::Val> &row = rows.rows.front();
        for (int i = 0; i < columns.size() && i < static_cast<int>(row.size()); ++i)
            map.insert(columns.at(i).trimmed(), ValueText(row.at(i).value()));
        return map;
    }();
    return defaults;
}

// A column of the current row as text; `fallback` when the row lacks the column.
QString paramText(const QSqlQuery &row, const QString &column, const QString &fallback = QString())
{
    const int index = row.record().indexOf(column);
    if (index < 0)
        return fallback;
    return ValueText(row.value(index));
}

// The integer value of a parameter text ("3", "3.0", " 3 "); `*ok` false when it holds none.
int paramInteger(const QString &text, bool *ok)
{
    const QString t = text.trimmed();
    int value = t.toInt(ok);
    if (*ok)
        return value;
    const double d = t.toDouble(ok);
    if (*ok && std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e9)
        return static_cast<int>(d);
    *ok = false;
    return 0;
}

// 0 to 8 decimals, anything else 2.
int paramDecimals(const QString &text)
{
    bool ok = false;
    const int value = paramInteger(text, &ok);
    return ok && value >= 0 && value <= 8 ? value : 2;
}

void loadCompanyHeader(const QSqlDatabase &db, LoginState &state)
{
    QSqlQuery row = OpenSelect(db, QStringLiteral("select * from jxc_company"));
    if (!row.next())
        return;
    state.CompanyName = paramText(row, QStringLiteral("c_name"));
    state.CompanyTele = paramText(row, QStringLiteral("c_tele"));
    state.CompanyContact = paramText(row, QStringLiteral("c_lxr"));
    state.CompanyAddress = paramText(row, QStringLiteral("c_address"));
    state.CompanyShortName = paramText(row, QStringLiteral("c_jc"));
    state.CompanyNote = paramText(row, QStringLiteral("c_note"));
}

void loadSystemParameters(const QSqlDatabase &db, LoginState &state)
{
    const QHash<QString, QString> &defaults = parameterDefaults();
    QString priceDecimals = defaults.value(QStringLiteral("cs_xsws"));
    QString qtyDecimals = defaults.value(QStringLiteral("cs_cbjs"));
    QString fontSize = defaults.value(QStringLiteral("cs_cs031"));
    for (const ParamColumn &p : kParamColumns)
        state.*(p.field) = defaults.value(QString::fromLatin1(p.column));

    try {
        QSqlQuery row = OpenSelect(db, QStringLiteral("select * from jxc_xtcs"));
        if (row.next()) {
            // A column that an older account set lacks keeps its default; the others are read.
            for (const ParamColumn &p : kParamColumns) {
                const QString column = QString::fromLatin1(p.column);
                state.*(p.field) = paramText(row, column, defaults.value(column));
            }
            priceDecimals = paramText(row, QStringLiteral("cs_xsws"), priceDecimals);
            qtyDecimals = paramText(row, QStringLiteral("cs_cbjs"), qtyDecimals);
            fontSize = paramText(row, QStringLiteral("cs_cs031"), fontSize);
        }
    } catch (const DbError &e) {
        qWarning("jxc_xtcs unreadable, parameters left at their defaults: %s", qPrintable(e.text()));
    }

    if (state.MinSaleDiscount.isEmpty())
        state.MinSaleDiscount = QStringLiteral("0");
    if (state.TotalDecimals.isEmpty()) {
        state.TotalDecimals = QStringLiteral("2");
    } else {
        bool ok = false;
        const int total = paramInteger(state.TotalDecimals, &ok);
        if (!ok || total < 0 || total > 8)
            state.TotalDecimals = QStringLiteral("2");
    }
    state.PriceDecimals = paramDecimals(priceDecimals);
    state.QtyDecimals = paramDecimals(qtyDecimals);
    if (!IsTrue(state.RoundTotals))
        state.TotalDecimals = QString::number(state.PriceDecimals);
    if (state.DocDateDefault.isEmpty())
        state.DocDateDefault = QStringLiteral("0");
    state.CustomerDisplayBaud = state.CustomerDisplayBaud == QLatin1String("0") ? QStringLiteral("2400")
                                                                                 : QStringLiteral("9600");
    bool ok = false;
    state.UiFontSize = paramInteger(fontSize, &ok) + 8;
}

void loadCachedRights(const QSqlDatabase &db, LoginState &state)
{
    state.RightShowCost = HasRight(db, state, QStringLiteral("qtcz"), 16);
    state.RightChangeDocDate = HasRight(db, state, QStringLiteral("qtcz"), 17);
    state.RightShowSalePrice = HasRight(db, state, QStringLiteral("qtcz"), 18);
    state.RightEditSaleCost = HasRight(db, state, QStringLiteral("xsgl"), 15);
}

void chooseTemplates(LoginState &state)
{
    state.SalesTemplate = QStringLiteral("spxs.fr3");
    state.SalesReturnTemplate = QStringLiteral("xsth.fr3");
    state.TransferTemplate = QStringLiteral("kcdbd.fr3");
    state.PurchaseInTemplate = QStringLiteral("cgjh.fr3");
    state.PurchaseReturnTemplate = QStringLiteral("cgth.fr3");
    state.DeptIssueTemplate = QStringLiteral("bmlyd.fr3");
    state.DeptReturnTemplate = QStringLiteral("bmthd.fr3");
    state.ProductionInTemplate = QStringLiteral("scrkd.fr3");
    state.ProductionReturnTemplate = QStringLiteral("sctkd.fr3");

    if (IsTrue(state.UseRetailPrice)) {
        state.SalesTemplate = QStringLiteral("spxs2.fr3");
        state.SalesReturnTemplate = QStringLiteral("xsth2.fr3");
    }
    if (!state.RightShowSalePrice) {
        state.SalesTemplate = QStringLiteral("spxs4.fr3");
        state.SalesReturnTemplate = QStringLiteral("xsth4.fr3");
    }
    if (state.TransferPriceBasis == QLatin1String("1"))
        state.TransferTemplate = QStringLiteral("kcdbd2.fr3");
    if (!state.RightShowCost) {
        state.PurchaseInTemplate = QStringLiteral("cgjh2.fr3");
        state.PurchaseReturnTemplate = QStringLiteral("cgth2.fr3");
        state.DeptIssueTemplate = QStringLiteral("bmlyd2.fr3");
        state.DeptReturnTemplate = QStringLiteral("bmthd2.fr3");
        state.ProductionInTemplate = QStringLiteral("scrkd2.fr3");
        state.ProductionReturnTemplate = QStringLiteral("sctkd2.fr3");
    }
}

void loadBackupSettings(const QSqlDatabase &db, LoginState &state)
{
    state.BackupOnExit = QStringLiteral("0");
    state.BackupAuto = QStringLiteral("0");
    state.BackupHours = 0;
    QSqlQuery row = OpenSelect(db, QStringLiteral("select * from jxc_backup"));
    if (!row.next())
        return;
    bool ok = false;
    state.BackupHours = paramInteger(paramText(row, QStringLiteral("back_sj")), &ok);
    if (IsTrue(paramText(row, QStringLiteral("back_auto"))))
        state.BackupAuto = QStringLiteral("1");
    if (IsTrue(paramText(row, QStringLiteral("back_exit"))))
        state.BackupOnExit = QStringLiteral("1");
}

bool textWithin(const QString &value, const QString &from, const QString &to)
{
    return value >= from && value <= to;
}

void loadMemberPoints(const QSqlDatabase &db, LoginState &state, const Clock &clock)
{
    QSqlQuery row = OpenSelect(db, QStringLiteral("select * from jxc_jfsz"));
    if (!row.next())
        return;
    state.PointsRule = paramText(row, QStringLiteral("jf_jfgz"));
    state.AmountPerPoint = paramText(row, QStringLiteral("jf_mfje"));
    state.ReferralPoints = paramText(row, QStringLiteral("jf_jsrjl"));
    state.DoublePoints = paramText(row, QStringLiteral("jf_dbjf"));
    state.DoublePointsFrom = paramText(row, QStringLiteral("jf_dbrq1"));
    state.DoublePointsTo = paramText(row, QStringLiteral("jf_dbrq2"));
    state.CarryPointsRemainder = paramText(row, QStringLiteral("jf_yelj"));
    state.GiftExchangeLimit = paramText(row, QStringLiteral("jf_icktype"));
    state.BirthdayPointsKind = paramText(row, QStringLiteral("jf_srjflx"));
    state.BirthdayPointsFactor = paramText(row, QStringLiteral("jf_srjfbs"));
    state.BirthdayPointsDays = paramText(row, QStringLiteral("jf_srjfts"));
    state.MemberDayDiscount = paramText(row, QStringLiteral("jf_hyrzk"));

    // The member day: a range of days of the month ("dd") or of dates ("yyyy-MM-dd"),
    // compared as text, both ends included.
    const QString kind = paramText(row, QStringLiteral("jf_hyr"));
    const QDate today = clock.today();
    if (kind == QLatin1String("1")) {
        if (textWithin(today.toString(QStringLiteral("dd")), paramText(row, QStringLiteral("jf_hyrmy1")),
                    paramText(row, QStringLiteral("jf_hyrmy2"))))
            state.MemberDayActive = QStringLiteral("1");
    } else if (kind == QLatin1String("2")) {
        if (textWithin(today.toString(QLatin1String(kDateFormat)), paramText(row, QStringLiteral("jf_hyr1")),
                    paramText(row, QStringLiteral("jf_hyr2"))))
            state.MemberDayActive = QStringLiteral("1");
    }
}

} // namespace

bool IsTrue(const QString &flag)
{
    return !(flag.isEmpty() || flag == QLatin1String("0") || flag == QLatin1String("False"));
}

bool IsNotOff(const QString &flag)
{
    return flag != QLatin1String("0") && flag != QLatin1String("False");
}

bool IsTrueWithCostRight(const LoginState &state, const QString &flag, const QString &scope)
{
    if (!IsNotOff(flag))
        return false;
    if (scope == QLatin1String("all"))
        return state.RightShowCost && state.RightShowSalePrice;
    if (scope == QLatin1String("cj"))
        return state.RightShowCost;
    if (scope == QLatin1String("xs"))
        return state.RightShowSalePrice;
    return true;
}

void LoadSysParams(const QSqlDatabase &db, LoginState &state, const Clock &clock)
{
    // Start from a clean state so nothing of a previous account set or role survives; only
    // the login fields are kept.
    LoginState fresh;
    fresh.CurrentOperatorName = state.CurrentOperatorName;
    fresh.CurrentOperatorSn = state.CurrentOperatorSn;
    fresh.CurrentRoleSn = state.CurrentRoleSn;
    fresh.CurrentAccountSetDb = state.CurrentAccountSetDb;
    fresh.CurrentAccountSetName = state.CurrentAccountSetName;
    state = fresh;

    loadCompanyHeader(db, state);
    loadSystemParameters(db, state);
    loadCachedRights(db, state);
    chooseTemplates(state);
    loadBackupSettings(db, state);

    state.MemberDayActive.clear();
    try {
        loadMemberPoints(db, state, clock);
        LoadSmsParams(db, state);
    } catch (const DbError &e) {
        qWarning("member-points or SMS settings unreadable: %s", qPrintable(e.text()));
    }
}

void LoadSmsParams(const QSqlDatabase &db, LoginState &state)
{
    state.SmsSign.clear();
    state.SmsUser.clear();
    state.SmsPassword.clear();
    state.SmsTopUpTemplate.clear();
    state.SmsPurchaseTemplate.clear();
    QSqlQuery row = OpenSelect(db, QStringLiteral("select * from jxc_smscs"));
    if (!row.next())
        return;
    state.SmsSign = paramText(row, QStringLiteral("sms_sign"));
    state.SmsUser = paramText(row, QStringLiteral("sms_user"));
    state.SmsPassword = paramText(row, QStringLiteral("sms_pwd"));
    state.SmsTopUpTemplate = paramText(row, QStringLiteral("sms_cznote"));
    state.SmsPurchaseTemplate = paramText(row, QStringLiteral("sms_xfnote"));
}
