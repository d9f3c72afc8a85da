#pragma once

// The rules of the parameters form "系统设置": what it shows of the company row (jxc_company)
// and the parameter row (jxc_xtcs), how it writes them back, and the restore of the defaults.
// The form builds its controls from the tables below, naming each after its column.

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

class Clock;
class Notices;

// A box of the company page.
struct CompanyField
{
    const char *column;
    const char *label;
    int boxLimit;     // characters the box takes
    int storedWidth;  // characters kept on save (0: the column's width)
};
const std::vector<CompanyField> &CompanyFields();

// A check box of the parameters page, in the page's order.
struct ParamCheck
{
    const char *column;
    const char *caption;
};
const std::vector<ParamCheck> &SystemParamChecks();

// A fixed list; the position of the chosen item is stored.
struct ParamChoice
{
    const char *column;
    const char *label;
    QStringList items;
};
const std::vector<ParamChoice> &SystemParamChoices();

// A whole-number box.
struct ParamNumber
{
    const char *column;
    int digits;
    bool clamped;  // held to 0..8 on save (the decimals)
};
const std::vector<ParamNumber> &SystemParamNumbers();

// The columns that carry through a save as they were read: the hidden transfer-price list
// (cs_dbdj), cost method (cs_cs032), stocktaking merge (cs_cs027) and the POS payment decimals
// (cs_posfkws) that the POS stores.
const QStringList &CarriedParamColumns();

// What the form shows and saves.
struct SystemParamsValues
{
    QHash<QString, QString> company;  // by column, as read / as typed
    QHash<QString, bool> checks;      // by column
    QHash<QString, int> choices;      // by column: item position
    QHash<QString, int> numbers;      // by column
    double tax = 0;                   // cs_tax
    double minDiscount = 0;           // cs_zdzk
    QString currencySymbol;           // cs_hbfh
    QHash<QString, QVariant> carried; // CarriedParamColumns(), NULL kept
    QString marker;                   // cs_employdate as read at activation
};

// The first company row and the first parameter row. A check box column reads as on when it
// holds a non-zero number; cs_cgyh and cs_xsyh only when they read as "1". Empty reads as off,
// 0 or the empty text. Raises DbError.
SystemParamsValues ReadSystemParams(const QSqlDatabase &db);

struct SystemParamsResult
{
    enum class Status { Saved, Refused, Declined, Failed };
    Status status = Status::Saved;
    QString text;  // the refusal or failure to show ("系统提示")
};

// "确定(F5)": refuses "公司信息必须填写！" without the full or short name (nothing written);
// clamps the decimals in `values` to 0..8; then in one transaction writes the company row (the
// first one inserted as "100001" when the table has none) and replaces the parameter row. A
// database error gives "保存失败：" + the reason with nothing changed.
SystemParamsResult SaveSystemParams(const QSqlDatabase &db, SystemParamsValues &values);

// "恢复默认系统设置": asks "您的操作要恢复系统默认设置，确认吗？" (No: Declined); then in one
// transaction re-creates jxc_xtcs and jxc_email with their default rows and sets the schema
// marker to "1900-01-01", so every upgrade step runs again at the next login. The company row
// stays. A database error gives "恢复默认系统设置失败：" + the reason with nothing changed.
SystemParamsResult RestoreDefaultSystemParams(const QSqlDatabase &db, const Clock &clock, Notices &notices);

inline constexpr const char *kRestoredMarker = "1900-01-01";
