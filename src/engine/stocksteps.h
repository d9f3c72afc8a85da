#pragma once

// The stock side of every posting and cancel: what the goods-ledger rows of one document do to
// the stock rows jxc_kcsp, to the moving-average walk and to the goods jxc_goods. A posting
// describes its moves once (StockMoves) and hands one StockStep per ledger row to MoveStock; a
// cancel hands the same steps reversed (ReversalOf) with exclusion "1" before it deletes the rows
// (cancelkit.h).
//
// MoveStock works group by group (the first row of each goods, then the next …, see
// engine::GroupsByOccurrence), each group in a few statements: the stock rows, the walks of
// the group's rows, then the goods. Within one group every goods differs, so the results are
// those of the rows taken one after another.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

class Clock;
struct LoginState;

// What one goods-ledger row does.
struct StockStep
{
    QString ledgerId;     // the row the walk starts from
    QString goods;        // g_sn
    QString warehouse;    // ck_sn of the stock row
    double onHand = 0;    // kc_sl moves by it (or becomes it, StockMoves::setStock)
    double book = 0;      // kc_zsl likewise
    double sold = 0;      // kc_xssl moves by it (StockMoves::movesSold)
    double total = 0;     // g_kc moves by it (StockMoves::movesGoodsTotal)
    double price = 0;     // cost price of a stock row the step creates; the goods' price when it has
                          // no average; the latest purchase price g_scjj
    bool average = true;  // this row sets the goods' average (StockMoves::average)
    int present = -1;     // whether its stock row existed when the steps were read: 1, 0, -1 not known
    // The ledger row as read with the step (ck_sn, gl_kdrq, gl_djh), for the walk; when `rowKnown`
    // is false the walk reads them by the row's id.
    bool rowKnown = false;
    QString rowWarehouse, rowDate, rowNumber;
};

// How the steps of one document move stock and goods.
struct StockMoves
{
    bool createRows = false;       // a goods without a stock row in the warehouse gets one (postings);
                                   // otherwise only existing rows move (cancels)
    bool setStock = false;         // kc_sl and kc_zsl become onHand and book instead of moving by them
    bool movesSold = false;        // kc_xssl moves by sold
    bool movesGoodsTotal = true;   // g_kc moves by total
    QString frequency{};           // g_cgpl / g_xspl moves by frequencyStep; empty: none
    int frequencyStep = 0;
    bool average = false;          // g_pjjj becomes the goods' average over its stock rows after the walk
    bool zeroWithoutStock = false; // ... and 0 when the goods has no stock row at all (else the step's price)
    bool lastPurchase = false;     // g_scjj becomes the step's price and ghs_sn `supplier`
    QString supplier{};
    QString exclusion = QStringLiteral("0");  // walk exclusion: "1" leaves the document's own rows out
};

void MoveStock(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const StockMoves &moves,
               const std::vector<StockStep> &steps);

// Which goods-ledger rows of a document are steps and by how much, as expressions over the
// ledger row g and, when `lines` is set, the document line l joined by (gl_djh, id2, g_sn).
struct StepSource
{
    QString flag{};                // only rows of this gl_flag; empty: every row of the number
    bool reserved = false;         // rows of the reserved goods "00000000" are steps too
    QString lines{};               // line table joined as l; empty: none
    QString onHand = QStringLiteral("g.gl_sl");
    QString book = QStringLiteral("g.gl_sl");
    QString total{};               // g_kc moves by it; empty: by onHand (a count sets kc_sl to the
                                   // counted quantity while g_kc moves by the difference)
    QString sold = QStringLiteral("0");
    QString price = QStringLiteral("g.gl_dj");
    bool rowWarehouse = false;     // the row's ck_sn; otherwise the warehouse passed in
    bool reversed = false;         // every quantity negated (see ReversalOf)
};

// The steps of `number` in ledger order; total = onHand unless the source says otherwise. `warehouse` unless rowWarehouse. With
// `present`, each step also tells whether its stock row exists (MoveStock asks no more).
std::vector<StockStep> ReadStockSteps(const QSqlDatabase &db, const QString &number, const StepSource &source,
                                      const QString &warehouse, bool present = false);

// What a cancel takes back of a posting described by `posting`: every row of the number but the
// reserved goods', each quantity reversed.
StepSource ReversalOf(StepSource posting);
