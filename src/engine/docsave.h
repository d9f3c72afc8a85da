#pragma once

// What the saves of the trade documents (purchase receipts and orders, sales) share before and
// around their own header: the refusals of the entry page in the screen's order, the posting lock
// of the number's day stem (prefix + yyMMdd) that keeps two saves of one day from drawing one
// number, the stored date and the freight payer's text.

#include "engine/partnerside.h"
#include "engine/postinglocks.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;

// The parties the entry page names.
struct DocSaveParties
{
    QString partnerText;  // the partner box as it stands
    QString partnerSn;    // the partner chosen
    QString handlerText;  // the handler box's text
    QString handlerSn;
    QString warehouseSn;
};

enum class SaveInputCheck { Accepted, Refused, Failed };

// The refusals, shown in this order: "单据中没有业务发生，不能保存！" (no line), `partnerRefusal`
// ("请选择供货商！" / "请选择客户！": an empty box, or a text that is not the chosen partner's
// name, so that a name typed without choosing never books to another partner), "请选择经办人！",
// "请选择仓库！". Failed (shown "保存失败：…") when the partner could not be read.
SaveInputCheck AcceptDocumentSaveInput(const QSqlDatabase &db, Notices &notices, int lines, const PartnerSide &side,
                                       const QString &partnerRefusal, const DocSaveParties &in);

// The lock of the number stem of `prefix` on `day` ("yyyy-MM-dd").
PostingLockKeys NumberStemKeys(const QString &prefix, const QString &day);

// The stored date of a header saved now: day + " " + the clock's "HH:mm".
QString SavedStamp(const QString &day, const Clock &clock);

// The freight payer: "" without freight or packing, else "我方付运费" or "对方付运费".
QString FreightPayer(double freight, double packing, bool wePay);
