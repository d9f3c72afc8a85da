#pragma once

// Printing the document being entered (kind "1" of "setPrinPara"): no stored header yet, so the
// variables come from the entry page. The lines are GetPrintLinesSql's (number, line code) as
// "Q_GoodsPrin"; the company, the partner's contact columns and the page's values are plain
// texts, numbers in the canonical number text. A purchase receipt and a sale build their jobs
// here and add what is theirs alone.

#include "engine/partnerside.h"
#include "engine/printdocument.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// What the entry page shows of the document.
struct DraftPrintHeader
{
    QString partnerText;    // the partner box
    QString partnerSn;      // the partner chosen
    QString warehouseText;
    QString date;           // jhDate as printed
    QString note;
    QString handlerText;
    QString handlerSn;      // uTele: the handler's telephone
    QString accountText;
    QString originalNo;
    QString invoiceNo;
    double freight = 0.0;
    double packing = 0.0;
    double due = 0.0;       // 应付 / 应收
    double paid = 0.0;      // 实付 / 实收
};

// The job of template `templateName`: the lines; the company variables; <t>Name (the box,
// trimmed), <t>Bh (the partner's code), <t>Lxr, <t>Tele, <t>Address of the partner's row (t the side's type, "ghs" / "kh");
// ckName, jhDate, Note, khqk (the partner's balance), aName (operator), gldjh2, uName, uTele (the
// handler's telephone), Kmmc,
// yunfei, baozfei, fpno; checker, chkrq and xxyh empty; xxyf, xxsf; ljqkje = balance + due −
// paid; yf and sf the due and paid in capitals ("#.00").
PrintJob PrepareDraftDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                              const QString &number, const QString &lineCode, const PartnerSide &side,
                              const DraftPrintHeader &header, const QString &templateName,
                              const QString &templateFolder = {});

// An amount in capitals as the templates print it: MoneyToCapital of FormatNumber(x, "#.00").
QString AmountInCapitals(double amount);
