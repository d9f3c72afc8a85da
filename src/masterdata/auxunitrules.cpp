#include "masterdata/auxunitrules.h"

#include "masterdata/goodslistquery.h"
#include "masterdata/goodsrules.h"
#include "masterdata/recordsave.h"

#include "foundation/columnwidth.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/goods.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const char *kUnitTaken = "您添加的单位已经存在，不能重复添加！";
const char *kBarcodeTaken = "您添加的商品条码已经存在，不能重复添加！";

bool exists(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = OpenSelect(db, sql + QStringLiteral(" limit 1"), binds);
    return q.next();
}

QVariantMap rowMap(const QSqlDatabase &db, const QString &table, qint64 id)
{
    return RecordMap(db, QStringLiteral("select * from ") + table + QStringLiteral(" where id = ?"), {id});
}

QString unitTable(AuxMode mode) { return IsStaged(mode) ? QStringLiteral("jxc_goodsdwtmp") : QStringLiteral("jxc_goodsdw"); }
QString barcodeTable(AuxMode mode) { return IsStaged(mode) ? QStringLiteral("jxc_goodstmp") : QStringLiteral("jxc_goodstm"); }

}  // namespace

AuxMode AuxModeFromTag(const QString &tag)
{
    if (tag == QLatin1String("spxxgl_modi"))
        return AuxMode::StagedEdit;
    if (tag == QLatin1String("spxxgl_add2"))
        return AuxMode::StoredNew;
    if (tag == QLatin1String("spxxgl_modi2"))
        return AuxMode::StoredEdit;
    return AuxMode::StagedNew;
}

QString AuxModeTag(AuxMode mode)
{
    switch (mode) {
    case AuxMode::StagedNew: return QStringLiteral("spxxgl_add");
    case AuxMode::StagedEdit: return QStringLiteral("spxxgl_modi");
    case AuxMode::StoredNew: return QStringLiteral("spxxgl_add2");
    case AuxMode::StoredEdit: return QStringLiteral("spxxgl_modi2");
    }
    return QString();
}

UnitPrices UnitPrices::times(double factor) const
{
    UnitPrices p;
    p.purchase = purchase * factor;
    p.sale = sale * factor;
    for (int i = 0; i < 5; ++i)
        p.levels[i] = levels[i] * factor;
    p.retail = retail * factor;
    return p;
}

ListStatement AuxUnitStatement(const AuxContext &c)
{
    ListStatement s;
    if (IsStaged(c.mode)) {
        s.body = QStringLiteral("select * from jxc_goodsdwtmp where a_name = ?");
        s.binds << c.operatorName;
    } else {
        s.body = QStringLiteral("select * from jxc_goodsdw where g_sn = ?");
        s.binds << c.goodsCode;
    }
    s.order = QStringLiteral("id");
    return s;
}

ListStatement ExtraBarcodeStatement(const AuxContext &c)
{
    ListStatement s;
    if (IsStaged(c.mode)) {
        s.body = QStringLiteral("select * from jxc_goodstmp where a_name = ?");
        s.binds << c.operatorName;
    } else {
        s.body = QStringLiteral("select * from jxc_goodstm where g_sn = ?");
        s.binds << c.goodsCode;
    }
    s.order = QStringLiteral("id");
    return s;
}

QVariantMap AuxUnitRow(const QSqlDatabase &db, AuxMode mode, qint64 rowId)
{
    return rowMap(db, unitTable(mode), rowId);
}

QVariantMap ExtraBarcodeRow(const QSqlDatabase &db, AuxMode mode, qint64 rowId)
{
    return rowMap(db, barcodeTable(mode), rowId);
}

void ClearStagedAux(const QSqlDatabase &db, const QString &operatorName)
{
    Transaction tx(db);
    RunSql(db, QStringLiteral("delete from jxc_goodsdwtmp where a_name = ?"), {operatorName});
    RunSql(db, QStringLiteral("delete from jxc_goodstmp where a_name = ?"), {operatorName});
    tx.commit();
}

bool AuxUnitRules::barcodeTaken(const AuxContext &c, const QString &b, bool unitDialog) const
{
    // Stored modes: the main barcode, every goods' barcode, unit barcodes and extra barcodes;
    // the row being edited does not count.
    if (b == c.mainBarcode.trimmed())
        return true;
    const qint64 unitSelf = (unitDialog && c.mode == AuxMode::StoredEdit) ? c.rowId : 0;
    const qint64 tmSelf = (!unitDialog && c.mode == AuxMode::StoredEdit) ? c.rowId : 0;
    return exists(m_db, QStringLiteral("select id from jxc_goods where g_sptm = ?"), {b})
           || exists(m_db, QStringLiteral("select id from jxc_goodsdw where g_sptm = ? and id <> ?"), {b, unitSelf})
           || exists(m_db, QStringLiteral("select id from jxc_goodstm where g_sptm = ? and id <> ?"), {b, tmSelf});
}

bool AuxUnitRules::saveUnit(const AuxContext &c, const AuxUnitInput &in)
{
    const QString unit = StripControls(in.unit).trimmed();
    const QString barcode = StripControls(in.barcode).trimmed();
    if (unit.isEmpty() || unit == QString::fromUtf8(kNewUnitItem)) {
        m_notices.notice(QStringLiteral("商品单位必须填写！"));
        return false;
    }
    if (in.factor <= 0) {
        m_notices.notice(QStringLiteral("转换系数必须大于0！"));
        return false;
    }
    const QString tooLong = FirstTooLong({{"商品单位", unit, "jxc_goodsdw", "dw_name"},
                                          {"商品条码", barcode, "jxc_goodsdw", "g_sptm"}});
    if (!tooLong.isEmpty()) {
        m_notices.notice(tooLong);
        return false;
    }
    auto refuse = [&](const char *text) {
        m_notices.notice(QString::fromUtf8(text));
        return false;
    };
    switch (c.mode) {
    case AuxMode::StagedNew:
        if (unit == c.baseUnit.trimmed())
            return refuse("辅助单位不能与主单位重复！");
        if (!barcode.isEmpty()
            && exists(m_db, QStringLiteral("select id from jxc_goodsdwtmp where g_sptm = ? and a_name = ?"),
                      {barcode, c.operatorName}))
            return refuse(kBarcodeTaken);
        if (exists(m_db, QStringLiteral("select id from jxc_goodsdwtmp where dw_name = ? and a_name = ?"),
                   {unit, c.operatorName}))
            return refuse(kUnitTaken);
        break;
    case AuxMode::StagedEdit:
        if (!barcode.isEmpty()
            && exists(m_db,
                      QStringLiteral("select id from jxc_goodsdwtmp where g_sptm = ? and a_name = ? and id <> ?"),
                      {barcode, c.operatorName, c.rowId}))
            return refuse(kBarcodeTaken);
        // Only the operator's own staged rows: another workstation's goods is not this one.
        if (exists(m_db, QStringLiteral("select id from jxc_goodsdwtmp where dw_name = ? and a_name = ? and id <> ?"),
                   {unit, c.operatorName, c.rowId}))
            return refuse(kUnitTaken);
        break;
    case AuxMode::StoredNew:
    case AuxMode::StoredEdit:
        if (!barcode.isEmpty() && barcodeTaken(c, barcode, true))
            return refuse(kBarcodeTaken);
        if (unit == c.baseUnit.trimmed()
            || exists(m_db, QStringLiteral("select id from jxc_goodsdw where g_sn = ? and dw_name = ? and id <> ?"),
                      {c.goodsCode, unit, c.mode == AuxMode::StoredEdit ? c.rowId : 0}))
            return refuse(kUnitTaken);
        break;
    }

    const UnitPrices &p = in.prices;
    const QVariantList values{unit, barcode, in.factor, p.purchase, p.sale, p.levels[0], p.levels[1], p.levels[2],
                              p.levels[3], p.levels[4], p.retail, p.purchase, p.purchase, p.purchase};
    const QString table = unitTable(c.mode);
    try {
        Transaction tx(m_db);
        if (IsEdit(c.mode)) {
            QVariantList binds = values;
            binds << c.rowId;
            RunSql(m_db, QStringLiteral("update ") + table
                             + QStringLiteral(" set dw_name = ?, g_sptm = ?, g_zhxs = ?, g_jj = ?, g_sj = ?, g_sj1 = ?, "
                                              "g_sj2 = ?, g_sj3 = ?, g_sj4 = ?, g_sj5 = ?, g_lsj = ?, g_scjj = ?, "
                                              "g_cbj = ?, g_pjjj = ? where id = ?"),
                   binds);
        } else {
            QVariantList binds{IsStaged(c.mode) ? QStringLiteral("-1") : c.goodsCode};
            binds << values;
            QString columns = QStringLiteral("g_sn, dw_name, g_sptm, g_zhxs, g_jj, g_sj, g_sj1, g_sj2, g_sj3, g_sj4, "
                                             "g_sj5, g_lsj, g_scjj, g_cbj, g_pjjj");
            QString marks = QStringLiteral("?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?");
            if (IsStaged(c.mode)) {
                columns += QStringLiteral(", a_name");
                marks += QStringLiteral(", ?");
                binds << c.operatorName;
            }
            RunSql(m_db, QStringLiteral("insert into ") + table + QStringLiteral(" (") + columns
                             + QStringLiteral(") values (") + marks + QStringLiteral(")"),
                   binds);
        }
        if (!IsStaged(c.mode))
            SetGoodsAuxUnit(m_db, c.goodsCode);
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存辅助单位失败：") + e.text());
        return false;
    }
}

bool AuxUnitRules::saveBarcode(const AuxContext &c, const QString &barcodeText, const QString &noteText)
{
    const QString barcode = StripControls(barcodeText).trimmed();
    const QString note = StripControls(noteText).trimmed();
    if (barcode.isEmpty()) {
        m_notices.notice(QStringLiteral("商品条码不能为空！"));
        return false;
    }
    const QString tooLong = FirstTooLong({{"商品条码", barcode, "jxc_goodstm", "g_sptm"},
                                          {"条码备注", note, "jxc_goodstm", "g_tmbz"}});
    if (!tooLong.isEmpty()) {
        m_notices.notice(tooLong);
        return false;
    }
    bool taken = false;
    switch (c.mode) {
    case AuxMode::StagedNew:
        taken = exists(m_db, QStringLiteral("select id from jxc_goodstmp where g_sptm = ?"), {barcode});
        break;
    case AuxMode::StagedEdit:
        taken = exists(m_db, QStringLiteral("select id from jxc_goodstmp where g_sptm = ? and id <> ?"), {barcode, c.rowId});
        break;
    case AuxMode::StoredNew:
    case AuxMode::StoredEdit:
        taken = barcodeTaken(c, barcode, false);
        break;
    }
    if (taken) {
        m_notices.notice(QString::fromUtf8(kBarcodeTaken));
        return false;
    }
    const QString table = barcodeTable(c.mode);
    try {
        Transaction tx(m_db);
        if (IsEdit(c.mode))
            RunSql(m_db, QStringLiteral("update ") + table + QStringLiteral(" set g_sptm = ?, g_tmbz = ? where id = ?"),
                   {barcode, note, c.rowId});
        else if (IsStaged(c.mode))
            RunSql(m_db, QStringLiteral("insert into jxc_goodstmp (g_sn, g_sptm, g_tmbz, a_name) values ('-1', ?, ?, ?)"),
                   {barcode, note, c.operatorName});
        else
            RunSql(m_db, QStringLiteral("insert into jxc_goodstm (g_sn, g_sptm, g_tmbz) values (?, ?, ?)"),
                   {c.goodsCode, barcode, note});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存条码失败：") + e.text());
        return false;
    }
}

bool AuxUnitRules::deleteUnit(const AuxContext &c, qint64 rowId)
{
    if (!m_notices.confirm(QStringLiteral("您确定要删除该辅助单位吗！")))
        return false;
    try {
        Transaction tx(m_db);
        RunSql(m_db, QStringLiteral("delete from ") + unitTable(c.mode) + QStringLiteral(" where id = ?"), {rowId});
        if (!IsStaged(c.mode))
            SetGoodsAuxUnit(m_db, c.goodsCode);
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除辅助单位失败：") + e.text());
        return false;
    }
}

bool AuxUnitRules::deleteBarcode(const AuxContext &c, qint64 rowId)
{
    if (!m_notices.confirm(QStringLiteral("您确定要删除该条码吗！")))
        return false;
    try {
        Transaction tx(m_db);
        RunSql(m_db, QStringLiteral("delete from ") + barcodeTable(c.mode) + QStringLiteral(" where id = ?"), {rowId});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除条码失败：") + e.text());
        return false;
    }
}

void MoveStagedToGoods(const QSqlDatabase &db, const QString &operatorName, const QString &code,
                       const QString &mainBarcode, const QString &baseUnit)
{
    Transaction tx(db);
    const QString main = mainBarcode.trimmed();
    // Extra barcodes, last to first: one used anywhere (or equal to the main barcode) stays behind.
    {
        QSqlQuery q = OpenSelect(db, QStringLiteral("select id, g_sptm from jxc_goodstmp where a_name = ? and g_sn = '-1' "
                                                    "order by id desc"),
                                 {operatorName});
        QList<QPair<qint64, QString>> rows;
        while (q.next())
            rows << qMakePair(q.value(0).toLongLong(), q.value(1).toString().trimmed());
        for (const auto &[id, b] : rows) {
            const bool used = b == main
                              || exists(db,
                                        QStringLiteral("select id from jxc_goods where g_sptm = ? union all "
                                                       "select id from jxc_goodstm where g_sptm = ? union all "
                                                       "select id from jxc_goodsdwtmp where g_sptm = ? union all "
                                                       "select id from jxc_goodsdw where g_sptm = ?"),
                                        {b, b, b, b});
            if (used)
                RunSql(db, QStringLiteral("update jxc_goodstmp set g_sn = '' where id = ?"), {id});
        }
    }
    // Units, last to first.
    {
        QSqlQuery q = OpenSelect(db, QStringLiteral("select id, g_sptm, dw_name from jxc_goodsdwtmp where a_name = ? "
                                                    "and g_sn = '-1' order by id desc"),
                                 {operatorName});
        struct Staged { qint64 id; QString barcode; QString unit; };
        QList<Staged> rows;
        while (q.next())
            rows << Staged{q.value(0).toLongLong(), ValueText(q.value(1)).trimmed(), ValueText(q.value(2)).trimmed()};
        for (const Staged &s : rows) {
            bool behind;
            if (!s.barcode.isEmpty())
                behind = s.barcode == main
                         || exists(db,
                                   QStringLiteral("select id from jxc_goods where g_sptm = ? and g_sn <> ? union all "
                                                  "select id from jxc_goodstm where g_sptm = ?"),
                                   {s.barcode, code, s.barcode});
            else
                behind = s.unit == baseUnit.trimmed();
            if (behind)
                RunSql(db, QStringLiteral("update jxc_goodsdwtmp set g_sn = '' where id = ?"), {s.id});
        }
    }
    const int units = RunSql(db, QStringLiteral("insert into jxc_goodsdw (g_sn, dw_name, g_sptm, g_zhxs, g_jj, g_sj, g_sj1, "
                                                "g_sj2, g_sj3, g_sj4, g_sj5, g_lsj, g_scjj, g_cbj, g_pjjj) select ?, dw_name, "
                                                "g_sptm, g_zhxs, g_jj, g_sj, g_sj1, g_sj2, g_sj3, g_sj4, g_sj5, g_lsj, g_scjj, "
                                                "g_cbj, g_pjjj from jxc_goodsdwtmp where a_name = ? and g_sn = '-1' "
                                                "order by id"),
                             {code, operatorName});
    if (units > 0)
        SetGoodsAuxUnit(db, code);
    RunSql(db, QStringLiteral("insert into jxc_goodstm (g_sn, g_sptm, g_tmbz) select ?, g_sptm, g_tmbz from jxc_goodstmp "
                              "where a_name = ? and g_sn = '-1' order by id"),
           {code, operatorName});
    tx.commit();
}
