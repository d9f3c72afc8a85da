#pragma once

// The posting kit: the steps every posting of a document is made of, each written once and
// driven by a description of the document kind (DocumentKind). A posting of a document with a
// partner books the cash row, the partner-account row, the invoice row, freight and packing;
// every posting writes the goods-ledger rows of the document's lines, moves stock and goods
// through them (stocksteps.h) and ends with the operation-log line. What is a kind's own (order
// progress, profit of a sale …) it adds through its hooks.
//
// PostDocument is the whole posting; the steps are public for postings that need them in
// another order. All join the caller's Transaction (PostDocument opens one when there is none);
// a database error raises DbError.

#include "engine/auditsupport.h"
#include "engine/partnerside.h"
#include "engine/stocksteps.h"
#include "foundation/loginstate.h"

#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

class Clock;

// The values of a document header the steps post from.
struct PostingHeader
{
    QString number, date, account, note, invoiceNo;
    QString partner, partnerName, handlerSn, handlerName, warehouse, warehouseName;
    double due = 0, paid = 0, invoiced = 0;
    bool byPayment = false;          // settlement kind "0" (按实付款结算)
    postingsupport::RowTexts row;    // the header row as read, with u_name, the partner's name, ck_name
};

// The goods-ledger rows a document's lines become: one per line l (goods d), in line order. The
// kit writes the header's values (date, handler, warehouse, partner, checker, note), the goods'
// names and average, and the source number gl_djh2; `columns` adds or replaces ledger columns by
// expressions over l and d (TradeLineFigures for the lines of purchases and sales).
struct LedgerLines
{
    QString flag{};              // gl_flag
    QString table{};             // the line table
    bool knownGoods = false;     // only lines whose goods exist in jxc_goods
    QVector<QPair<QString, QString>> columns{};
    QString condition{};         // only lines meeting it (an expression over l and d); empty: all
};

// The figures of a purchase or sale line: gl_sl, gl_zje, gl_dzl, gl_bz, gl_tax, gl_taxje, gl_je
// from l.<prefix>zsl, zje, dzl, bz, tax, taxje, je; quantities and amounts negated when
// `negative` (returns).
QVector<QPair<QString, QString>> TradeLineFigures(const QString &prefix, bool negative);

// The order lines a document's lines deliver: line id3 = order line id2, same goods.
struct OrderLink
{
    QString table{};       // jxc_cgsp / jxc_xssp; empty: no orders
    QString quantity{};    // jh_sl / ls_sl, in the lines and the order lines
    QString done{};        // delivered so far: jh_rksl / ls_cksl
    QString closed{};      // jh_qxsl / ls_dhbz: 1 once delivered ≥ ordered
    QString LoginState::*enabled = nullptr;  // the parameter that turns orders on

    bool on(const LoginState &state) const { return !table.isEmpty() && enabled && IsTrue(state.*enabled); }
};

using OwnStep = void (*)(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const PostingHeader &header);

// One kind of document, as the kit posts it.
struct DocumentKind
{
    QString code{};              // CJ: k_djlx, fp_djlx, the number's prefix
    QString name{};              // 采购进货单: k_djtxt, fp_djtxt
    QString header{}, lines{};   // jxc_jhd, jxc_jhsp
    QString prefix{};            // of the header's columns: j_ → j_status, j_kmmc, j_yfje, j_sfje,
                                 // j_fpje, j_fpno, j_jsfs, j_note, j_yffs, j_yf, j_bzf, j_checker …
    QString dateColumn{};        // j_jhrq
    const PartnerSide *partner = nullptr;  // nullptr: no cash, partner or invoice rows

    // The money side.
    QString cashText{};          // xj_dlx of the cash row
    double cashSign = 1;         // the cash row's amount is cashSign × paid
    bool owesWhatWasPaid = false;// settled by payment, the amount owed is what was paid
    bool invoiceCheckDay = false;// fp_chkrq is the date part of the document date (else all of it)
    QString freightNote{};       // 采购单 / 销售单: freight and packing we pay are posted; empty: never
    void (*countHandler)(const QSqlDatabase &db, const QString &handlerSn) = nullptr;

    // The goods side.
    QString freezeColumn{};      // not empty: the lines' id2 become their ids and this column 0 first
    OwnStep beforeLedger = nullptr;  // the kind's own step after the money side
    LedgerLines ledger{};
    StepSource steps{};          // how the ledger rows move stock …
    StockMoves moves{};          // … and goods (supplier taken from the header)
    QString logText{};           // %1 the number, %2 the count of steps ÷ ledgerRowsPerLine
    int ledgerRowsPerLine = 1;   // ledger rows each line gives (a transfer's in and out rows: 2)
    OrderLink orders{};          // delivered quantities of the order lines, after the log line
    OwnStep afterPosting = nullptr;  // the kind's own step, last
};

// "单据%1的经手人、<partner>或仓库资料不存在，不能审核！" with the number ("单据%1的经手人或仓库资料
// 不存在，不能审核！" for a kind without a partner).
QString MissingRecordText(const DocumentKind &kind, const QString &number);

// The header of `number` (the audited copy first) joined with its handler, partner (if any) and
// warehouse. Raises DbError(MissingRecordText) when one of them is missing.
PostingHeader ReadPostingHeader(const QSqlDatabase &db, const DocumentKind &kind, const QString &number);
// The values of a header row read with those joins.
PostingHeader PostingHeaderOf(const DocumentKind &kind, const QString &number, const postingsupport::RowTexts &row);

// The whole posting: money side, ledger rows, stock and goods, log line, hooks.
void PostDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
                  const QString &number);
void PostDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
                  const PostingHeader &header);

// The money side: the cash row (written also when nothing was paid) with the account's running
// balance, the partner-account row with its provisional then recalculated balance, the invoice
// row when invoicing is on, and freight and packing we pay.
void PostMoney(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
               const PostingHeader &header);

// The ledger rows of the document's lines (LedgerLines).
void InsertLedgerRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const LedgerLines &lines,
                      const PostingHeader &header);

// Order progress: the order lines linked to the document's lines take their quantities as
// delivered and are closed once delivered ≥ ordered (when `link.enabled` is on).
void PostOrderProgress(const QSqlDatabase &db, const LoginState &state, const OrderLink &link,
                       const QString &linesTable, const QString &number);

// Price per base unit of a line from its quantities (purchases): <prefix>dj scaled by
// <prefix>sl / <prefix>zsl, unscaled where a quantity is 0; and the taxed price <prefix>zje / <prefix>zsl.
QString PricePerBaseUnitSql(const QString &prefix);
QString TaxedPricePerBaseUnitSql(const QString &prefix);
