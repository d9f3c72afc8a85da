#include "foundation/systemparams.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"
#include "foundation/schema/creators.h"
#include "foundation/sqlnames.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <utility>

namespace {

// Columns the save writes with a fixed value: no screen of the system sets them.
const std::vector<std::pair<const char *, QVariant>> &fixedValues()
{
    static const std::vector<std::pair<const char *, QVariant>> values = {
        {"cs_tjcyjf", 0}, {"cs_posdj", 0}, {"cs_kp", 0},     {"cs_sprk", 0},   {"cs_spck", 0},
        {"cs_ht", 0},     {"cs_spcz", 0},  {"cs_poshooktoday", 0}, {"cs_cs004", 0}, {"cs_cs009", 0},
        {"cs_cs014", 0},  {"cs_sms", 0},   {"cs_djsh", 0},   {"cs_wxzf", 0},   {"cs_mchid", QStringLiteral("")},
        {"cs_key", QStringLiteral("")}, {"cs_ts", QStringLiteral("")}, {"cs_posrq", 0},
    };
    return values;
}

bool isBindingColumn(const QString &column)
{
    return column == QLatin1String("cs_cgyh") || column == QLatin1String("cs_xsyh");
}

int wholeNumber(const QString &text)
{
    return text.isEmpty() ? 0 : int(text.toDouble());
}

QString fieldText(const QSqlQuery &row, const QString &column)
{
    const int i = row.record().indexOf(column);
    return i < 0 ? QString() : ValueText(row.value(i));
}

// An empty text binds as '' (a null QString would bind NULL).
QString nonNull(const QString &s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

QString companyValue(const SystemParamsValues &values, const CompanyField &f)
{
    const QString column = QString::fromLatin1(f.column);
    const QString cleaned = SafeTextKeepMath(values.company.value(column).trimmed());
    return nonNull(f.storedWidth > 0 ? cleaned.left(f.storedWidth)
                                  : CutToColumn(QStringLiteral("jxc_company"), column, cleaned));
}

} // namespace

const std::vector<CompanyField> &CompanyFields()
{
    static const std::vector<CompanyField> fields = {
        {"c_name", "公司全名：", 64, 64},      {"c_jc", "公司简名：", 32, 16},
        {"c_tele", "联系电话：", 32, 0},       {"c_lxr", "联系人：", 32, 0},
        {"c_address", "联系地址：", 100, 128}, {"c_note", "备        注：", 200, 200},
    };
    return fields;
}

const std::vector<ParamCheck> &SystemParamChecks()
{
    static const std::vector<ParamCheck> checks = {
        {"cs_xjyh", "启用现金银行功能"},
        {"cs_kc", "库存为零时允许采购退货、销售"},
        {"cs_ct", "采购退货时只能退该供货商供应的商品"},
        {"cs_xt", "销售退货时只能退向该客户销售过的商品"},
        {"cs_employ", "采购时显示当前供货商历史信息"},
        {"cs_shdj", "单据保存后直接审核(选中后审核权限将被忽略)"},
        {"cs_fzdw", "启用商品辅助单位、一品多码功能"},
        {"cs_cs003", "商品库存中显示第一个辅助单位的数量"},
        {"cs_jhzk", "启用商品折扣功能"},
        {"cs_hs", "启用商品含税功能(采购、销售类单据)"},
        {"cs_lsj", "启用商品销售零售价"},
        {"cs_activate", "销售时显示当前客户历史信息"},
        {"cs_xsyh", "商品销售时业务员与客户绑定"},
        {"cs_cgyh", "操作员与仓库绑定"},
        {"cs_shtc", "操作员、供货商、客户、经办人与仓库绑定"},
        {"cs_ysdh", "采购进货或销售时有原始单号"},
        {"cs_spbh", "增加商品基本信息时商品自动编号"},
        {"cs_barcode", "新增商品时商品编号自动作为商品条码"},
        {"cs_xgdj", "销售时允许修改销售单价"},
        {"cs_cs002", "销售时允许修改销售成本价"},
        {"cs_tmzdsc", "选择商品时，双击商品可以自动选择"},
        {"cs_hcj", "选择商品时，按回车键开始查询"},
        {"cs_barunique", "启用单据付款功能"},
        {"cs_zerocost", "启用单据收款功能"},
        {"cs_djzddy", "销售单据保存时自动打印"},
        {"cs_cs016", "采购单保存时自动打印"},
        {"cs_bcqdy", "单据保存之前不能打印"},
        {"cs_cs011", "打印采购单时选择打印格式"},
        {"cs_cs010", "打印销售单时选择打印格式"},
        {"cs_cs001", "客户预付款不足时给出提醒"},
        {"cs_cs013", "启用商品等级批发价(1--5级)"},
        {"cs_cs012", "在商品信息中加入货架信息"},
        {"cs_cs026", "在商品信息中加入颜色信息"},
        {"cs_cs023", "进销存汇总表显示差额"},
        {"cs_cs008", "启用销售订单功能"},
        {"cs_cs007", "启用采购订单功能"},
        {"cs_kddy", "采购、销售添加运费、包装费"},
        {"cs_tx", "程序启动时弹出提醒窗口"},
        {"cs_mryt", "程序启动时显示每日一贴"},
        {"cs_posblur", "启用POS销售功能"},
        {"cs_possk", "同一条码重复扫描时数量自动累加"},
        {"cs_zjews", "合计金额保留"},
        {"cs_cs015", "销售单使用固定"},
        {"cs_cs019", "采购单使用固定"},
    };
    return checks;
}

const std::vector<ParamChoice> &SystemParamChoices()
{
    static const std::vector<ParamChoice> choices = {
        {"cs_xsjgts", "应收应付与实收实付之间的差额用 … 平衡", {QStringLiteral("平摊法"), QStringLiteral("优惠商品")}},
        {"cs_activatets", "支付方式默认为", {QStringLiteral("实付结算"), QStringLiteral("余额记帐")}},
        {"cs_cgje", "采购进货实付金额默认为", {QStringLiteral("应付金额"), QStringLiteral("零")}},
        {"cs_xsje", "商品销售实收金额默认为", {QStringLiteral("应收金额"), QStringLiteral("零")}},
        {"cs_xsdj", "销售时默认销售价格显示为：", {QStringLiteral("预设售价"), QStringLiteral("该客户上次售价")}},
        {"cs_cgdj",
         "采购进货、采购退货的单价显示为：",
         {QStringLiteral("平均进价"), QStringLiteral("最近进价"), QStringLiteral("预设进价")}},
        {"cs_djrq", "采购、销售单据日期默认为", {QStringLiteral("系统日期"), QStringLiteral("上单日期")}},
        {"cs_dysx",
         "采购单、销售单商品打印顺序",
         {QStringLiteral("默认顺序"), QStringLiteral("商品编号顺序"), QStringLiteral("商品名称顺序")}},
        {"cs_cs031",
         "界面字体大小：",
         {QStringLiteral("8号"), QStringLiteral("9号"), QStringLiteral("10号(最佳)"), QStringLiteral("11号(不推荐)"),
          QStringLiteral("12号(不推荐)")}},
    };
    return choices;
}

const std::vector<ParamNumber> &SystemParamNumbers()
{
    static const std::vector<ParamNumber> numbers = {
        {"cs_cbjs", 1, true}, {"cs_xsws", 1, true}, {"cs_jews", 1, true}, {"cs_cs005", 2, false}, {"cs_cs006", 2, false},
    };
    return numbers;
}

const QStringList &CarriedParamColumns()
{
    static const QStringList columns = {QStringLiteral("cs_dbdj"), QStringLiteral("cs_cs032"),
                                        QStringLiteral("cs_cs027"), QStringLiteral("cs_posfkws")};
    return columns;
}

SystemParamsValues ReadSystemParams(const QSqlDatabase &db)
{
    SystemParamsValues v;
    {
        QSqlQuery company = OpenSelect(db, QStringLiteral("select * from jxc_company order by id limit 1"));
        const bool found = company.next();
        for (const CompanyField &f : CompanyFields()) {
            const QString column = QString::fromLatin1(f.column);
            v.company.insert(column, found ? fieldText(company, column) : QString());
        }
    }
    QSqlQuery row = OpenSelect(db, QStringLiteral("select * from jxc_xtcs order by id limit 1"));
    const bool found = row.next();
    auto text = [&](const QString &column) { return found ? fieldText(row, column) : QString(); };
    for (const ParamCheck &c : SystemParamChecks()) {
        const QString column = QString::fromLatin1(c.column);
        const QString t = text(column);
        v.checks.insert(column, isBindingColumn(column) ? t == QLatin1String("1") : (!t.isEmpty() && t.toDouble() != 0));
    }
    for (const ParamChoice &c : SystemParamChoices())
        v.choices.insert(QString::fromLatin1(c.column), wholeNumber(text(QString::fromLatin1(c.column))));
    for (const ParamNumber &n : SystemParamNumbers())
        v.numbers.insert(QString::fromLatin1(n.column), wholeNumber(text(QString::fromLatin1(n.column))));
    v.tax = text(QStringLiteral("cs_tax")).toDouble();
    v.minDiscount = text(QStringLiteral("cs_zdzk")).toDouble();
    v.currencySymbol = text(QStringLiteral("cs_hbfh"));
    for (const QString &column : CarriedParamColumns()) {
        const QString t = text(column);
        v.carried.insert(column, t.isEmpty() ? QVariant() : QVariant(wholeNumber(t)));
    }
    v.marker = text(QStringLiteral("cs_employdate"));
    return v;
}

SystemParamsResult SaveSystemParams(const QSqlDatabase &db, SystemParamsValues &values)
{
    if (values.company.value(QStringLiteral("c_name")).trimmed().isEmpty()
        || values.company.value(QStringLiteral("c_jc")).trimmed().isEmpty())
        return {SystemParamsResult::Status::Refused, QStringLiteral("公司信息必须填写！")};
    for (const ParamNumber &n : SystemParamNumbers()) {
        if (n.clamped) {
            int &x = values.numbers[QString::fromLatin1(n.column)];
            x = std::clamp(x, 0, 8);
        }
    }

    QStringList companyColumns;
    QVariantList companyValues;
    for (const CompanyField &f : CompanyFields()) {
        companyColumns << QString::fromLatin1(f.column);
        companyValues << companyValue(values, f);
    }

    // The parameter row: controls, carried columns, fixed values, the marker. The columns not
    // named here stay NULL.
    QStringList columns;
    QVariantList binds;
    auto put = [&](const QString &column, const QVariant &value) {
        columns << column;
        binds << value;
    };
    auto checked = [&](const char *column) { return values.checks.value(QString::fromLatin1(column)); };
    for (const ParamCheck &c : SystemParamChecks()) {
        const QString column = QString::fromLatin1(c.column);
        bool on = values.checks.value(column);
        if (column == QLatin1String("cs_cs003"))
            on = on && checked("cs_fzdw");  // only with auxiliary units
        put(column, on ? 1 : 0);
    }
    for (const ParamChoice &c : SystemParamChoices())
        put(QString::fromLatin1(c.column), values.choices.value(QString::fromLatin1(c.column)));
    for (const ParamNumber &n : SystemParamNumbers()) {
        const QString column = QString::fromLatin1(n.column);
        int x = values.numbers.value(column);
        if ((column == QLatin1String("cs_jews") && !checked("cs_zjews"))
            || (column == QLatin1String("cs_cs005") && !checked("cs_cs015"))
            || (column == QLatin1String("cs_cs006") && !checked("cs_cs019")))
            x = 0;
        put(column, x);
    }
    put(QStringLiteral("cs_tax"), checked("cs_hs") ? values.tax : 0.0);
    put(QStringLiteral("cs_zdzk"), checked("cs_jhzk") && values.minDiscount > 0 ? values.minDiscount : 0.0);
    put(QStringLiteral("cs_hbfh"), nonNull(CutToColumn(QStringLiteral("jxc_xtcs"), QStringLiteral("cs_hbfh"),
                                                    values.currencySymbol.trimmed())));
    for (const QString &column : CarriedParamColumns())
        put(column, values.carried.value(column));
    for (const auto &fixed : fixedValues())
        put(QString::fromLatin1(fixed.first), fixed.second);
    put(QStringLiteral("cs_employdate"), nonNull(values.marker));

    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    QStringList assignments;
    for (const QString &c : companyColumns)
        assignments << c + QStringLiteral(" = ?");

    try {
        Transaction tx(db);
        if (RunSql(db, QStringLiteral("update jxc_company set ") + assignments.join(QStringLiteral(", ")),
                   companyValues)
            == 0) {
            // A set without its company row gets one, so the save is never lost.
            RunSql(db,
                   QStringLiteral("insert into jxc_company (c_sn, %1) values (?, ?, ?, ?, ?, ?, ?)")
                       .arg(companyColumns.join(QStringLiteral(", "))),
                   QVariantList{QStringLiteral("100001")} + companyValues);
        }
        RunSql(db, QStringLiteral("delete from jxc_xtcs"));
        RunSql(db,
               QStringLiteral("insert into jxc_xtcs (%1) values (%2)")
                   .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
               binds);
        tx.commit();
    } catch (const DbError &e) {
        return {SystemParamsResult::Status::Failed, QStringLiteral("保存失败：") + e.text()};
    }
    return {};
}

SystemParamsResult RestoreDefaultSystemParams(const QSqlDatabase &db, const Clock &clock, Notices &notices)
{
    if (notices.ask(QStringLiteral("您的操作要恢复系统默认设置，确认吗？")) != Notices::Answer::Yes)
        return {SystemParamsResult::Status::Declined, QString()};
    try {
        Transaction tx(db);
        CreateXtcsTable(db, clock);
        CreateEmailTable(db, clock);
        RunSql(db, QStringLiteral("update jxc_xtcs set cs_employdate = ?"), {QString::fromLatin1(kRestoredMarker)});
        tx.commit();
    } catch (const DbError &e) {
        return {SystemParamsResult::Status::Failed, QStringLiteral("恢复默认系统设置失败：") + e.text()};
    }
    return {};
}
