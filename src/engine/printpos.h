#pragma once

// Printing one POS bill (jxc_posxsd with its lines jxc_posxssp): the page slip and the till
// receipt. Both add their variables to the template's own and set no company variables; the
// lines go into the data set "Q_GoodsPrin".

#include "report/model/reportoutput.h"

#include <QSqlDatabase>
#include <QString>

struct LoginState;

// The bill as a page document (template "posxsd.fr3"), always in the preview: "sTitle"
// ("POS销售单" for XS…, "POS退货单" for XT…, else ""), "yf" and "sf" (capitals of the amounts
// due and paid), the member's "hybh", "hyname", "hyye" (stored value), "hyjf" (total points)
// and "hymobile" ("" without member); lines with the discounted price `zhdj` and the bill's
// columns.
PrintJob PrintPosSlip(const QSqlDatabase &db, const LoginState &state, ReportOutput &output,
                      const QString &number, const QString &templateFolder = {});

// The till receipt ("posxp58.fr3" when jxc_posprint.pp_kd is "0", else "posxp.fr3"; without a
// settings row everything is empty): titles and footers, the bill's variables ("sfje" the
// amount tendered, for XT… the amount paid; "zlje" only with change; "zffs" the payment kind;
// "bcjf" and "zjf" only with a member), the member's (current points in "hyjf"), lines with
// the goods name followed by the barcode note and gift tag. Shown in the preview when
// pp_bzxx is true, else sent `copies` times to the receipt output without a dialog (nothing
// for copies <= 0).
PrintJob PrintPosTicket(const QSqlDatabase &db, const LoginState &state, ReportOutput &output,
                        const QString &number, int copies, const QString &templateFolder = {});

// The payment-kind text of a bill from its six amounts (cash, stored-value card, bank card,
// voucher, WeChat Pay, Alipay): the one kind above 0, "联合结账" for two or more, "" for none.
QString PosPaymentKind(double cash, double storedValue, double bankCard, double voucher, double wechat,
                       double alipay);
