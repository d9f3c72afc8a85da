#include "masterdata/goodsrules.h"

#include "masterdata/auxunitrules.h"
#include "masterdata/recordsave.h"

#include "foundation/columnwidth.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/defaultrecords.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/numbering.h"
#include "foundation/oplog.h"
#include "foundation/pinyin.h"
#include "foundation/sanitize.h"
#include "foundation/schema/catalog.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

GoodsSaveResult refused(Notices &notices, const QString &text)
{
    notices.notice(text);
    return {};
}

GoodsSaveResult failed(Notices &notices, const QString &text)
{
    notices.notice(text);
    GoodsSaveResult r;
    r.status = SaveStatus::Failed;
    return r;
}

GoodsSaveResult declined(const QString &focus = QString())
{
    GoodsSaveResult r;
    r.status = SaveStatus::Declined;
    r.focus = focus;
    return r;
}

// Checks 1–6, shared by both dialogs. Empty when they pass.
QString basicRefusal(const GoodsInput &in)
{
    if (in.className.trimmed().isEmpty() || in.classSn.isEmpty())
        return QStringLiteral("类别名称必须填写！");
    if (in.code.trimmed().isEmpty())
        return QStringLiteral("商品编号必须填写！");
    if (in.name.trimmed().isEmpty())
        return QStringLiteral("商品名称必须填写！");
    const QString unit = in.unit.trimmed();
    if (unit.isEmpty() || unit == QString::fromUtf8(kNewUnitItem))
        return QStringLiteral("商品单位必须填写！");
    if (in.spec.trimmed() == QString::fromUtf8(kNewSpecItem))
        return QStringLiteral("商品规格型号错误，请重新填写！");
    if (in.colour.trimmed() == QString::fromUtf8(kNewColourItem))
        return QStringLiteral("商品颜色错误，请重新填写！");
    return QString();
}

bool rowExists(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = OpenSelect(db, sql + QStringLiteral(" limit 1"), binds);
    return q.next();
}

QString storedName(const GoodsInput &in) { return SafeTextKeepMath(in.name.trimmed()); }
QString storedSpec(const GoodsInput &in) { return SafeTextShort(in.spec.trimmed()); }
QString shortCode(const GoodsInput &in)
{
    return CutToColumn(QStringLiteral("jxc_goods"), QStringLiteral("g_jm"), GetPY(in.name.trimmed()));
}
double commissionValue(const GoodsInput &in) { return in.commissionKind == 0 ? 0.0 : in.commission; }

// The typed texts without control characters: nothing below sees or stores them.
GoodsInput withoutControls(const GoodsInput &in)
{
    GoodsInput out = in;
    for (QString *text : {&out.className, &out.classSn, &out.code, &out.name, &out.barcode, &out.unit, &out.spec,
                          &out.colour, &out.shelf, &out.maker, &out.note, &out.warehouseSn, &out.warehouseName})
        *text = StripControls(*text);
    return out;
}

// A typed value longer than its column, as the goods row stores it.
QString widthRefusal(const GoodsInput &in)
{
    return FirstTooLong({
        {"商品编号", in.code.trimmed(), "jxc_goods", "g_sn"},
        {"商品名称", storedName(in), "jxc_goods", "g_name"},
        {"商品条码", in.barcode.trimmed(), "jxc_goods", "g_sptm"},
        {"商品单位", in.unit.trimmed(), "jxc_goods", "dw_name"},
        {"规格型号", storedSpec(in), "jxc_goods", "gg_name"},
        {"颜色", in.colour.trimmed(), "jxc_goods", "color_name"},
        {"所在货架", in.shelf.trimmed(), "jxc_goods", "hj_name"},
        {"生产厂商", SafeTextKeepMath(in.maker.trimmed()), "jxc_goods", "g_sccs"},
        {"备注", SafeTextKeepMath(in.note.trimmed()), "jxc_goods", "g_bz"},
    });
}

QVariantMap recordOf(const QSqlDatabase &db, const QString &where, const QVariant &value)
{
    return RecordMap(db,
                     QStringLiteral("select a.*, b.gc_name from jxc_goods a left join jxc_goodsclass b "
                                    "on a.gc_sn = b.gc_sn where ")
                         + where + QStringLiteral(" order by a.id limit 1"),
                     {value});
}

// The text shown for a database error of a save; a code stored meanwhile by another
// workstation (unique index) reads as the duplicate-code refusal.
QString saveErrorText(const QSqlDatabase &db, const QString &code, const DbError &e, qint64 exceptId = 0)
{
    try {
        if (rowExists(db, QStringLiteral("select id from jxc_goods where g_sn = ? and id <> ?"), {code, exceptId}))
            return QStringLiteral("商品编号已经存在，请重新输入！");
    } catch (const DbError &) {
    }
    return QStringLiteral("保存商品信息失败：") + e.text();
}

}  // namespace

bool AutoGoodsCodeOn(const LoginState &state)
{
    return state.AutoGoodsCode != QLatin1String("0") && state.AutoGoodsCode != QLatin1String("False");
}

QString OpeningLedgerDate(const Clock &clock)
{
    return QString::number(clock.today().year() - 5) + QStringLiteral("-01-01");
}

namespace {

GoodsSaveResult saveNewGoods(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                             Notices &notices, const QString &source, const GoodsInput &typed)
{
    GoodsInput in = withoutControls(typed);
    const QString basic = basicRefusal(in);
    if (!basic.isEmpty())
        return refused(notices, basic);
    const QString tooLong = widthRefusal(in);
    if (!tooLong.isEmpty())
        return refused(notices, tooLong);

    if (source == QLatin1String("cgjh"))
        in.openingQty = 0;  // the field is hidden there
    const QString code = in.code.trimmed();
    const QString name = storedName(in);
    const QString barcode = in.barcode.trimmed();

    const bool fromSales = source == QLatin1String("spxs") || source == QLatin1String("spxssh");
    // Opening stock below zero is never stock a shop has (the sales window's own refusal of
    // zero and less comes first there).
    if (in.openingQty < 0 && !(fromSales && !IsTrue(state.AllowNegativeStock))) {
        GoodsSaveResult r = refused(notices, QStringLiteral("期初库存数量不能小于零！"));
        r.focus = QStringLiteral("openingQty");
        return r;
    }
    if (fromSales) {
        if (in.openingQty <= 0) {
            if (!IsTrue(state.AllowNegativeStock))
                return refused(notices, QStringLiteral("期初库存数量必须大于零！"));
            if (!notices.confirm(QStringLiteral("库存为零，销售后将产生负库存，继续销售吗?")))
                return declined();
        }
        if (in.purchasePrice <= 0 || in.salePrice <= 0)
            if (!notices.confirm(QStringLiteral("预设进价、预设售价应该大于零，确认保存吗？")))
                return declined();
    }
    if (rowExists(db, QStringLiteral("select id from jxc_goods where g_sn = ?"), {code}))
        return refused(notices, QStringLiteral("商品编号已经存在，请重新输入！"));
    if (!barcode.isEmpty() && rowExists(db, QStringLiteral("select id from jxc_goods where g_sptm = ?"), {barcode}))
        if (!notices.confirm(QStringLiteral("商品条码已经存在，确认输入吗？")))
            return declined();
    if (in.nameWarning && rowExists(db, QStringLiteral("select id from jxc_goods where g_name = ?"), {name}))
        if (!notices.confirm(QStringLiteral("商品名称已经存在，确认输入吗？")))
            return declined();
    if (in.purchasePrice == 0 && in.openingQty > 0)
        if (!notices.confirm(QStringLiteral("建立期初库存时，预设价格将作为商品成品价格。您确定是否继续保存？")
                             + QStringLiteral("\r\n\r\n") + QStringLiteral("点击“是”保存数据，点击“否”修改预设进价。")))
            return declined(QStringLiteral("purchasePrice"));
    if (in.warehouseSn.isEmpty())
        return refused(notices, QStringLiteral("请添加仓库信息！"));

    const QString unit = in.unit.trimmed();
    try {
        Transaction tx(db);
        const QString supplier = QueryScalar(
            db, QStringLiteral("select ghs_sn from jxc_ghsxx where ghs_default <> 0 order by id limit 1"));
        RunSql(db,
               QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, g_zhxs, dw_name2, g_jj, g_sj, g_zdkc, "
                              "g_tjsp, g_sccs, g_bz, g_kc, g_scjj, g_cbj, g_cgpl, g_xspl, g_jy, g_sptm, g_pjjj, "
                              "ghs_sn, gc_cid, gc_sn, dw_name, gg_name, color_name, g_dzll, g_iszp, g_sj1, g_sj2, "
                              "g_sj3, g_sj4, g_sj5, g_lsj, g_gdcbj, g_tclb, g_tc, g_sy, g_tssp, g_tsjf, hj_name, "
                              "g_rgf, g_lx) values (?, ?, ?, 1, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, 0, 0, 0, ?, ?, ?, ?, "
                              "?, ?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0, 0, ?, 0, ?)"),
               {code, name, shortCode(in), unit, in.purchasePrice, in.salePrice, in.minStock,
                SafeTextKeepMath(in.maker.trimmed()), SafeTextKeepMath(in.note.trimmed()), in.openingQty,
                in.purchasePrice, in.purchasePrice, barcode, in.purchasePrice, supplier, in.classCid, in.classSn,
                unit, storedSpec(in), in.colour.trimmed(), in.gift ? 1 : 0, in.levelPrices[0], in.levelPrices[1],
                in.levelPrices[2], in.levelPrices[3], in.levelPrices[4], in.retailPrice, in.fixedCost ? 1 : 0,
                in.commissionKind, commissionValue(in), in.shelf.trimmed(), QStringLiteral("其他")});
        MoveStagedToGoods(db, state.CurrentOperatorName, code, barcode, unit);
        EnsureZeroGoodsStock(db, clock.today().toString(QStringLiteral("yyyy-MM")));

        bool ok = false;
        int n = state.TotalDecimals.toInt(&ok);
        if (!ok || n < 0 || n > 8)
            n = 2;
        const QString amount = Dialect::of(db).roundSql(QStringLiteral("g_jj*g_kc"), n);
        RunSql(db,
               QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, g_jm, dw_name, "
                              "gg_name, color_name, gl_dj, gl_pjjj, gl_taxdj, gl_sl, gl_sysl, gl_kc, gl_zje, "
                              "gl_kczje, gl_je, gl_lr, gl_dqkc, gl_sqsl, gl_sqje, gl_tax, gl_taxje, gl_lsj, gl_dzl, "
                              "u_name, a_name, gl_checker, ck_sn, ck_name, ghs_sn, ghs_name, gl_fdmc, gl_chkrq, "
                              "gl_note) select ?, ?, ?, g_sn, g_name, g_jm, dw_name, gg_name, color_name, g_jj, "
                              "g_jj, g_jj, g_kc, g_kc, g_kc, ")
                   + amount + QStringLiteral(", ") + amount + QStringLiteral(", ") + amount
                   + QStringLiteral(", 0, 0, 0, 0, 0, 0, 0, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, g_bz "
                                    "from jxc_goods where g_sn = ?"),
               {QStringLiteral("qc"), QString(), OpeningLedgerDate(clock), GetDefaultUserName(db),
                state.CurrentOperatorName, state.CurrentOperatorName, in.warehouseSn, in.warehouseName, QString(),
                QStringLiteral("期初建账"), QString(), clock.today().toString(QStringLiteral("yyyy-MM-dd")), code});
        ResetStockFromOpening(db, code, in.warehouseSn);
        tx.commit();
    } catch (const DbError &e) {
        return failed(notices, saveErrorText(db, code, e));
    }
    GoodsSaveResult r;
    r.status = SaveStatus::Saved;
    r.code = code;
    r.openingQty = NumberText(in.openingQty);
    return r;
}

GoodsSaveResult saveModifiedGoods(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                  Notices &notices, qint64 id, const GoodsInput &typed)
{
    const QVariantMap old = GoodsRecord(db, id);
    if (old.isEmpty())
        return refused(notices, QStringLiteral("该商品已经不存在！"));
    const GoodsInput input = withoutControls(typed);
    const QString basic = basicRefusal(input);
    if (!basic.isEmpty())
        return refused(notices, basic);
    const QString tooLong = widthRefusal(input);
    if (!tooLong.isEmpty())
        return refused(notices, tooLong);

    const QString oldCode = old.value(QStringLiteral("g_sn")).toString();
    QString code = input.code.trimmed();
    // A goods in use keeps its code, whatever reaches us.
    if (code != oldCode && GoodsCodeLocked(db, oldCode))
        code = oldCode;
    const QString name = storedName(input);
    const QString spec = storedSpec(input);
    const QString barcode = input.barcode.trimmed();
    const QString unit = input.unit.trimmed();
    const QString colour = input.colour.trimmed();

    if (rowExists(db, QStringLiteral("select id from jxc_goods where g_sn = ? and id <> ?"), {code, id}))
        return refused(notices, QStringLiteral("商品编号已存在！"));
    if (!barcode.isEmpty()
        && rowExists(db, QStringLiteral("select id from jxc_goods where g_sptm = ? and id <> ?"), {barcode, id}))
        if (!notices.confirm(QStringLiteral("商品条码已经存在，确认输入吗？")))
            return declined();
    if (input.nameWarning
        && rowExists(db, QStringLiteral("select id from jxc_goods where g_name = ? and id <> ?"), {name, id}))
        if (!notices.confirm(QStringLiteral("商品名称已经存在，确认修改吗？")))
            return declined();

    const QString oldName = old.value(QStringLiteral("g_name")).toString();
    const QString oldUnit = old.value(QStringLiteral("dw_name")).toString();
    const QString oldSpec = old.value(QStringLiteral("gg_name")).toString();
    const QString oldColour = old.value(QStringLiteral("color_name")).toString();
    try {
        Transaction tx(db);
        // Costs computed by postings stay once the goods has more than its opening row.
        const bool onlyOpening = !rowExists(
            db, QStringLiteral("select id from jxc_goodslist where g_sn = ? and gl_flag <> 'qc'"), {oldCode});
        QString sql = QStringLiteral("update jxc_goods set gc_cid = ?, gc_sn = ?, g_name = ?, g_sn = ?, g_jm = ?, "
                                     "g_sptm = ?, gg_name = ?, dw_name = ?, color_name = ?, g_zdkc = ?, g_jj = ?, ");
        QVariantList binds{input.classCid, input.classSn, name, code, shortCode(input), barcode, spec, unit,
                           colour, input.minStock, input.purchasePrice};
        if (onlyOpening) {
            sql += QStringLiteral("g_scjj = ?, g_pjjj = ?, ");
            binds << input.purchasePrice << input.purchasePrice;
        }
        sql += QStringLiteral("g_sj = ?, g_sccs = ?, g_bz = ?, g_sj1 = ?, g_sj2 = ?, g_sj3 = ?, g_sj4 = ?, "
                              "g_sj5 = ?, g_lsj = ?, g_gdcbj = ?, g_iszp = ?, g_tclb = ?, g_tc = ?, hj_name = ? "
                              "where id = ?");
        binds << input.salePrice << SafeTextKeepMath(input.maker.trimmed()) << SafeTextKeepMath(input.note.trimmed())
              << input.levelPrices[0] << input.levelPrices[1] << input.levelPrices[2] << input.levelPrices[3]
              << input.levelPrices[4] << input.retailPrice << (input.fixedCost ? 1 : 0) << (input.gift ? 1 : 0)
              << input.commissionKind << commissionValue(input) << input.shelf.trimmed() << id;
        RunSql(db, sql, binds);
        WriteLog(db, state, clock,
                 QStringLiteral("修改商品，原商品信息，编号：") + oldCode + QStringLiteral("，名称：") + oldName
                     + QStringLiteral("，规格型号：") + oldSpec + QStringLiteral("。新商品信息，编号：") + code
                     + QStringLiteral("，名称：") + name + QStringLiteral("，规格型号：") + spec + QStringLiteral("。"));
        if (code != oldCode) {
            RunSql(db, QStringLiteral("update jxc_goodsdw set g_sn = ? where g_sn = ?"), {code, oldCode});
            RunSql(db, QStringLiteral("update jxc_goodstm set g_sn = ? where g_sn = ?"), {code, oldCode});
        }
        SetGoodsAuxUnit(db, code);
        if (name != oldName)
            RunSql(db, QStringLiteral("update jxc_goodslist set g_name = ? where g_sn = ? and g_name = ?"),
                   {name, code, oldName});
        if (unit != oldUnit)
            RunSql(db, QStringLiteral("update jxc_goodslist set dw_name = ? where g_sn = ? and dw_name = ?"),
                   {unit, code, oldUnit});
        if (spec != oldSpec.trimmed())
            RunSql(db, QStringLiteral("update jxc_goodslist set gg_name = ? where g_sn = ?"), {spec, code});
        if (colour != oldColour.trimmed())
            RunSql(db, QStringLiteral("update jxc_goodslist set color_name = ? where g_sn = ? and color_name = ?"),
                   {colour, code, oldColour});
        if (input.sameCommissionForClass)
            RunSql(db, QStringLiteral("update jxc_goods set g_tclb = ?, g_tc = ? where gc_sn = ?"),
                   {input.commissionKind, commissionValue(input), input.classSn});
        tx.commit();
    } catch (const DbError &e) {
        return failed(notices, saveErrorText(db, code, e, id));
    }
    GoodsSaveResult r;
    r.status = SaveStatus::Saved;
    r.code = code;
    return r;
}

}  // namespace

GoodsSaveResult SaveNewGoods(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                             Notices &notices, const QString &source, const GoodsInput &input)
{
    // The checks read the database too: their failure is shown like that of the writes.
    try {
        return saveNewGoods(db, state, clock, notices, source, input);
    } catch (const DbError &e) {
        return failed(notices, QStringLiteral("保存商品信息失败：") + e.text());
    }
}

GoodsSaveResult SaveModifiedGoods(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                  Notices &notices, qint64 id, const GoodsInput &input)
{
    try {
        return saveModifiedGoods(db, state, clock, notices, id, input);
    } catch (const DbError &e) {
        return failed(notices, QStringLiteral("保存商品信息失败：") + e.text());
    }
}

GoodsInput GoodsCopyInput(const QSqlDatabase &db, qint64 id)
{
    GoodsInput in;
    const QVariantMap g = GoodsRecord(db, id);
    if (g.isEmpty())
        return in;
    auto text = [&](const char *f) { return g.value(QLatin1String(f)).toString(); };
    in.classSn = text("gc_sn");
    in.classCid = text("gc_cid").toInt();
    in.className = text("gc_name");
    try {
        in.code = GetNewGoodsSn(db, QString::number(in.classCid));
    } catch (const std::invalid_argument &) {
        in.code.clear();
    }
    in.name = text("g_name");
    in.spec = text("gg_name");
    in.unit = text("dw_name");
    in.colour = text("color_name");
    in.minStock = text("g_zdkc").toInt();
    in.purchasePrice = TextToNumber(text("g_jj"));
    in.salePrice = TextToNumber(text("g_sj"));
    in.maker = text("g_sccs");
    in.note = text("g_bz");
    return in;
}

QVariantMap GoodsRecord(const QSqlDatabase &db, qint64 id)
{
    return recordOf(db, QStringLiteral("a.id = ?"), id);
}

QVariantMap GoodsRecordBySn(const QSqlDatabase &db, const QString &code)
{
    return recordOf(db, QStringLiteral("a.g_sn = ?"), code);
}

QStringList GoodsLineTables()
{
    static const QStringList tables = [] {
        QStringList out;
        const schema::Catalog &c = schema::Catalog::instance();
        for (const QString &t : c.creationOrder()) {
            if (t == QLatin1String("jxc_goodslist") || t == QLatin1String("jxc_jhsp")
                || t == QLatin1String("jxc_lsxssp"))
                continue;
            const schema::Table *table = c.table(t);
            if (table && table->hasColumn(QStringLiteral("g_sn")) && table->hasColumn(QStringLiteral("gl_djh")))
                out << t;
        }
        return out;
    }();
    return tables;
}

QString GoodsBusinessNumber(const QSqlDatabase &db, const QString &code)
{
    auto first = [&](const QString &table, const QString &extra) -> std::optional<QString> {
        QSqlQuery q = OpenSelect(db,
                                 QStringLiteral("select gl_djh from ") + table + QStringLiteral(" where g_sn = ?")
                                     + extra + QStringLiteral(" order by id limit 1"),
                                 {code});
        if (q.next())
            return ValueText(q.value(0));
        return std::nullopt;
    };
    QStringList order{QStringLiteral("jxc_jhsp"), QStringLiteral("jxc_lsxssp")};
    for (const QString &t : order)
        if (auto n = first(t, QString()))
            return n->isEmpty() ? QStringLiteral(" ") : *n;
    if (auto n = first(QStringLiteral("jxc_goodslist"), QStringLiteral(" and gl_flag <> 'qc'")))
        return n->isEmpty() ? QStringLiteral(" ") : *n;
    for (const QString &t : GoodsLineTables())
        if (auto n = first(t, QString()))
            return n->isEmpty() ? QStringLiteral(" ") : *n;
    return QString();
}

bool GoodsInBillOfMaterials(const QSqlDatabase &db, const QString &code)
{
    return rowExists(db, QStringLiteral("select id from jxc_plxx where g_sn = ? or pl_gsn = ?"), {code, code});
}

QString GoodsCodeLockReason(const QSqlDatabase &db, const QString &code)
{
    const QString number = GoodsBusinessNumber(db, code);
    if (!number.isEmpty())
        return QStringLiteral("该商品已发生过业务，单据号：%1，商品编号不能修改。").arg(number.trimmed());
    if (GoodsInBillOfMaterials(db, code))
        return QStringLiteral("该商品用于产品配料，商品编号不能修改。");
    if (rowExists(db, QStringLiteral("select id from jxc_kcsp where g_sn = ?"), {code})
        || rowExists(db, QStringLiteral("select id from jxc_goodslist where g_sn = ?"), {code}))
        return QStringLiteral("该商品已建立库存记录（含期初库存），商品编号不能修改。");
    return QString();
}

bool GoodsCodeLocked(const QSqlDatabase &db, const QString &code)
{
    return !GoodsCodeLockReason(db, code).isEmpty();
}

bool DeleteGoods(const QSqlDatabase &db, Notices &notices, qint64 id, const QString &pictureFolder)
{
    const QString code = QueryScalar(db, QStringLiteral("select g_sn from jxc_goods where id = ?"), {id});
    if (code.isEmpty())
        return false;
    if (code == QLatin1String(kReservedGoodsSn)) {
        notices.notice(QStringLiteral("该商品为系统内置商品，不能删除！"));
        return false;
    }
    const QString number = GoodsBusinessNumber(db, code);
    if (!number.isEmpty()) {
        notices.notice(QStringLiteral("该商品已发生过业务，单据号：") + number.trimmed() + QStringLiteral(" 不能删除！"));
        return false;
    }
    if (GoodsInBillOfMaterials(db, code)) {
        notices.notice(QStringLiteral("该商品已用于产品配料，不能删除！"));
        return false;
    }
    if (!notices.confirm(QStringLiteral("您确定要删除该商品信息吗！")))
        return false;
    try {
        Transaction tx(db);
        RunSql(db, QStringLiteral("delete from jxc_goods where id = ?"), {id});
        for (const char *t : {"jxc_goodstm", "jxc_goodsdw", "jxc_goodslist", "jxc_kcsp"})
            RunSql(db, QStringLiteral("delete from %1 where g_sn = ?").arg(QLatin1String(t)), {code});
        tx.commit();
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("删除商品失败：") + e.text());
        return false;
    }
    if (!pictureFolder.isEmpty()) {
        const QString picture = QDir(pictureFolder).filePath(code + QStringLiteral(".jpg"));
        if (QFile::exists(picture))
            QFile::remove(picture);
    }
    return true;
}

bool SetGoodsDisabled(const QSqlDatabase &db, Notices &notices, qint64 id, bool disabled)
{
    try {
        Transaction tx(db);
        if (disabled)
            RunSql(db, QStringLiteral("update jxc_goods set g_jy = 1 where id = ?"), {id});
        else
            RunSql(db, QStringLiteral("update jxc_goods set g_jy = 0 where g_sn <> '00000000' and id = ?"), {id});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("操作失败：") + e.text());
        return false;
    }
}

bool ToggleGoodsDisabled(const QSqlDatabase &db, Notices &notices, const QList<qint64> &ids)
{
    if (!notices.confirm(QStringLiteral("您的操作将禁用选中的所有商品，\r\n已禁用的商品将会解除禁用。\r\n确认吗？")))
        return false;
    try {
        Transaction tx(db);
        for (qint64 id : ids) {
            const bool disabled = QueryScalar(db, QStringLiteral("select g_jy from jxc_goods where id = ?"), {id}).toInt() != 0;
            if (disabled)
                RunSql(db, QStringLiteral("update jxc_goods set g_jy = 0 where g_sn <> '00000000' and id = ?"), {id});
            else
                RunSql(db, QStringLiteral("update jxc_goods set g_jy = 1 where id = ?"), {id});
        }
        tx.commit();
        return true;
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("操作失败：") + e.text());
        return false;
    }
}

bool SetGoodsFixedCost(const QSqlDatabase &db, Notices &notices, const QList<qint64> &ids, bool on)
{
    if (!notices.confirm(on ? QStringLiteral("您的操作将选中的商品预设进价作为销售成本价，确定修改吗？")
                            : QStringLiteral("您的操作将取消选中的商品预设进价作为销售成本价，确定修改吗？")))
        return false;
    try {
        Transaction tx(db);
        for (qint64 id : ids)
            RunSql(db, QStringLiteral("update jxc_goods set g_gdcbj = ? where id = ?"), {on ? 1 : 0, id});
        tx.commit();
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("操作失败：") + e.text());
        return false;
    }
    notices.notice((on ? QStringLiteral("成功设置：") : QStringLiteral("成功取消：")) + QString::number(ids.size())
                   + QStringLiteral("  个商品预设进价作为销售成本价。"));
    return true;
}

bool ChangeGoodsClass(const QSqlDatabase &db, Notices &notices, const QList<qint64> &ids, const QString &classSn)
{
    if (classSn.isEmpty() || ids.isEmpty())
        return false;
    try {
        Transaction tx(db);
        const QString cid = QueryScalar(db, QStringLiteral("select gc_cid from jxc_goodsclass where gc_sn = ?"), {classSn});
        for (qint64 id : ids)
            RunSql(db, QStringLiteral("update jxc_goods set gc_sn = ?, gc_cid = ? where id = ?"),
                   {classSn, cid.isEmpty() ? QVariant() : QVariant(cid.toInt()), id});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("修改类别失败：") + e.text());
        return false;
    }
}
