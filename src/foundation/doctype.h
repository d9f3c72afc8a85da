#pragma once

// What a document type is made of: its name, number prefix, header and line tables and the
// line columns that carry quantity, price and amount. The document window, its line dialog and
// picker, the draft lines and the basket are all driven by one of these, so a new document
// form is a description plus its own hooks, never a copy of another form.
//
// Every document keeps its number in `gl_djh`, its goods in `g_sn` and the operator who entered
// a line in `a_name`; baskets (jxc_tempspxf, jxc_tempspxf2) hold `g_sn`, `ts_sl`, `ts_dj`,
// `ts_zje` and `a_name`.

#include <QString>

inline constexpr const char *kDefaultUnsavedQuestion = "当前单据还未保存，是否保存？";

struct DocType
{
    QString name;            // "商品报损单"
    QString prefix;          // "BS": two capital letters
    QString headerTable;     // "jxc_bsd"
    QString linesTable;      // "jxc_bssp"
    QString dateField;       // date column of the header ("bs_bsrq")
    QString quantityField;   // "bs_sl"
    QString priceField;      // "bs_dj"
    QString amountField;     // "bs_zje"
    QString basketTable;     // "jxc_tempspxf2", "jxc_tempspxf"; empty: the type has no picker
    QString unsavedQuestion = QString::fromUtf8(kDefaultUnsavedQuestion);
    int quantityDecimals = 2;
    int amountDecimals = 2;  // TotalDecimals of the login state, set by the screen

    static QString numberField() { return QStringLiteral("gl_djh"); }
    static QString goodsField() { return QStringLiteral("g_sn"); }
    static QString operatorField() { return QStringLiteral("a_name"); }

    // Raises std::invalid_argument when a table or column is not one of the account set's
    // (names are written into statements; values never are).
    void check() const;
};
