#pragma once

// What a document type is made of: its name, number prefix, header and line tables and the
// line columns that carry quantity, price and amount. The document window, its line dialog and
// picker, the draft lines and the basket are all driven by one of these, so a new document
// form is a description plus its own hooks, never a copy of another form.
//
// Every document keeps its number in `gl_djh`, its goods in `g_sn` and the operator who entered
// a line in `a_name`; baskets (jxc_tempspxf, jxc_tempspxf2) hold `g_sn`, `ts_sl`, `ts_dj`,
// `ts_zje` and `a_name`.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

inline constexpr const char *kDefaultUnsavedQuestion = "当前单据还未保存，是否保存？";

// The columns of a priced line with tax and discount (the purchase lines "jh_", the return
// "th_", the sale "ls_", the basket "ts_"). Empty names: the table lacks that column.
struct LineColumns
{
    QString price;         // jh_dj: unit price excluding tax
    QString quantity;      // jh_sl: quantity in the line's unit
    QString amount;        // jh_je: amount excluding tax
    QString tax;           // jh_tax: rate in percent
    QString taxPrice;      // jh_taxdj: unit price including tax
    QString taxAmount;     // jh_taxje
    QString total;         // jh_zje: line total including tax
    QString baseQuantity;  // jh_zsl: quantity in base units
    QString discount;      // jh_dzl: 1 no discount, 0.8 = 20 % off
    QString note;          // jh_bz
    QString stockIn;       // jh_rksl (receipt and order lines); empty elsewhere

    // The ten columns prefix + dj, sl, je, tax, taxdj, taxje, zje, zsl, dzl and the note column.
    static LineColumns withPrefix(const QString &prefix, const QString &noteColumn);
    // The basket's: ts_dj … ts_dzl, ts_note.
    static LineColumns basket() { return withPrefix(QStringLiteral("ts_"), QStringLiteral("ts_note")); }

    bool isEmpty() const { return price.isEmpty(); }
    // The names that are set, in the order above.
    QStringList names() const;
};

struct DocType
{
    QString name;            // "商品报损单"
    QString prefix;          // "BS": two capital letters
    QString headerTable;     // "jxc_bsd"
    QString linesTable;      // "jxc_bssp"
    QString dateField;       // date column of the header ("bs_bsrq")
    QString quantityField;   // "bs_sl"
    QString priceField;      // "bs_dj"
    QString amountField;     // "bs_zje": the line total the document sums
    QString basketTable;     // "jxc_tempspxf2", "jxc_tempspxf"; empty: the type has no picker
    QString unsavedQuestion = QString::fromUtf8(kDefaultUnsavedQuestion);
    int quantityDecimals = 2;
    int amountDecimals = 2;  // TotalDecimals of the login state, set by the screen

    // Priced lines with tax and discount (empty for types that carry only quantity, price and
    // amount). When set, the basket copies its ts_ columns onto these.
    LineColumns line;
    // Page tag of the entry page handed to shared dialogs ("cgjh", "cgth", "spxs"); the
    // pending page's is the same with "sh" appended.
    QString sourceTag;
    // Basket columns copied as they are beside the line columns (the return's gl_djh2, idck).
    QStringList basketExtraColumns;
    // Types without priced lines: basket column → line column pairs copied besides the quantity,
    // price and amount (the transfer's ts_zsl → db_zsl, ts_dzl → db_sj, dw_name, g_sptm …).
    QList<QPair<QString, QString>> basketColumns;
    // Whether basket rows without a goods code become lines too (the return keeps them).
    bool basketKeepsEmptyCodes = false;
    // Only basketColumns are copied (a basket whose ts_sl, ts_dj, ts_zje mean other things than
    // quantity, price and amount: the stocktaking's book quantity in ts_dj).
    bool basketColumnsOnly = false;
    // A basket row whose goods is already a line of the number (any operator's) is not copied.
    bool basketSkipsCountedGoods = false;

    static QString numberField() { return QStringLiteral("gl_djh"); }
    static QString goodsField() { return QStringLiteral("g_sn"); }
    static QString operatorField() { return QStringLiteral("a_name"); }

    // Basket column → line column for the copy of a basket into lines: the priced columns of
    // `line` with the unit and barcode and the extra columns, or without `line` the quantity,
    // price and amount and the basketColumns.
    QList<QPair<QString, QString>> basketToLine() const;

    // Raises std::invalid_argument when a table or column is not one of the account set's
    // (names are written into statements; values never are).
    void check() const;
};
