// Text at the edges: what the goods rules store when typed text holds control characters, SQL
// or wildcard characters, emoji, or more characters than its column; and that the goods search
// matches such text literally. The same outcome on SQLite and PostgreSQL.

#include "records_fixture.h"

#include "masterdata/auxunitrules.h"
#include "masterdata/goodsclassrules.h"
#include "masterdata/goodslistquery.h"

#include "foundation/sanitize.h"

namespace {

const QChar kNul(0);

class TextEdgesTest : public RecordsTest
{
protected:
    GoodsInput goods(const QString &code, const QString &name)
    {
        GoodsInput in = cola();
        in.code = code;
        in.name = name;
        return in;
    }

    // The codes the goods search finds for `typed` (letter case ignored), and the stock total.
    QStringList search(const QString &typed)
    {
        GoodsListOptions o;
        o.search = typed;
        const ListStatement s = GoodsListStatement(db(), state, o, QString());
        QSqlQuery q = OpenSelect(db(), s.body + QStringLiteral(" order by ") + s.order, s.binds);
        QStringList codes;
        while (q.next())
            codes << q.value(QStringLiteral("g_sn")).toString();
        return codes;
    }
};

// Every text field of the add dialog passes through the rule; what lands in jxc_goods.
TEST_F(TextEdgesTest, SavedGoodsHoldNoControlCharacters)
{
    struct Case
    {
        QString code, name, barcode, spec, note;
        QString storedCode, storedName, storedBarcode, storedSpec, storedNote;
    };
    const QString drop = QStringLiteral("'; drop table jxc_goods; --");
    const QList<Case> cases{
        {QStringLiteral("A1"), QStringLiteral("可") + kNul + QStringLiteral("乐"), QString(), QString(), QString(),
         QStringLiteral("A1"), QStringLiteral("可乐"), QString(), QString(), QString()},
        {QStringLiteral("100") + kNul, QStringLiteral("雪碧"), QStringLiteral("690") + kNul + QStringLiteral("1\x1d\x56"),
         QStringLiteral("500ml\t"), QStringLiteral("冷藏\r\n2-8℃"),
         QStringLiteral("100"), QStringLiteral("雪碧"), QStringLiteral("6901V"), QStringLiteral("500ml"),
         QStringLiteral("冷藏2-8℃")},
        // Codes are stored as typed; names pass the sanitiser.
        {drop, drop, drop, QString(), QString(), drop, QStringLiteral("‘; drop table jxc_goods; --"), drop,
         QString(), QString()},
        {QStringLiteral("%"), QStringLiteral("百分之百%"), QStringLiteral("_"), QString(), QString(),
         QStringLiteral("%"), QStringLiteral("百分之百％"), QStringLiteral("_"), QString(), QString()},
        {QStringLiteral("\\"), QStringLiteral("反斜杠\\"), QString(), QString(), QString(), QStringLiteral("\\"),
         QStringLiteral("反斜杠\\"), QString(), QString(), QString()},
        {QStringLiteral("😀𠮷"), QStringLiteral("笑脸😀𠮷"), QString(), QString(), QString(), QStringLiteral("😀𠮷"),
         QStringLiteral("笑脸😀𠮷"), QString(), QString(), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.storedCode.toStdString());
        GoodsInput in = goods(c.code, c.name);
        in.barcode = c.barcode;
        in.spec = c.spec;
        in.note = c.note;
        GoodsSaveResult r;
        EXPECT_NO_THROW(r = add(in));
        ASSERT_TRUE(r.saved()) << notices.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(r.code, c.storedCode);
        const QVariantMap g = GoodsRecordBySn(db(), c.storedCode);
        EXPECT_EQ(g.value("g_name").toString(), c.storedName);
        EXPECT_EQ(g.value("g_sptm").toString(), c.storedBarcode);
        EXPECT_EQ(g.value("gg_name").toString(), c.storedSpec);
        EXPECT_EQ(g.value("g_bz").toString(), c.storedNote);
        EXPECT_EQ(scalar("select g_name from jxc_goodslist where g_sn = ?", {c.storedCode}), c.storedName);
    }
    EXPECT_EQ(count("jxc_goods"), 1 + int(cases.size()));
}

// Typed values longer than their column are refused with the field's name, nothing written;
// values within the width store whole, also when they are characters outside the BMP.
TEST_F(TextEdgesTest, TooLongValuesAreRefusedTheSameOnBothDatabases)
{
    struct Case
    {
        const char *field;
        QString value;
        const char *refusal;  // nullptr: saved
    };
    const QString astral = QStringLiteral("𠮷");
    const QList<Case> cases{
        {"name", QStringLiteral("名").repeated(129), "商品名称的长度不能超过128个字符！"},
        {"name", astral.repeated(128), nullptr},
        {"code", QStringLiteral("9").repeated(33), "商品编号的长度不能超过32个字符！"},
        {"code", QStringLiteral("9").repeated(10000), "商品编号的长度不能超过32个字符！"},
        {"code", astral.repeated(32), nullptr},
        {"barcode", QStringLiteral("6").repeated(65), "商品条码的长度不能超过64个字符！"},
        {"unit", QStringLiteral("箱").repeated(65), "商品单位的长度不能超过64个字符！"},
        {"maker", QStringLiteral("厂").repeated(201), "生产厂商的长度不能超过200个字符！"},
        {"note", QStringLiteral("注").repeated(201), "备注的长度不能超过200个字符！"},
        // The sanitiser's look-alikes count as one character each; controls do not count.
        {"name", QStringLiteral("'").repeated(128) + kNul, nullptr},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + std::to_string(c.value.size()));
        GoodsInput in = goods(QStringLiteral("L%1").arg(++n), QStringLiteral("长度"));
        const QString field = QLatin1String(c.field);
        if (field == QLatin1String("name"))
            in.name = c.value;
        else if (field == QLatin1String("code"))
            in.code = c.value;
        else if (field == QLatin1String("barcode"))
            in.barcode = c.value;
        else if (field == QLatin1String("unit"))
            in.unit = c.value;
        else if (field == QLatin1String("maker"))
            in.maker = c.value;
        else
            in.note = c.value;
        notices = ScriptedNotices();
        const int before = count("jxc_goods");
        GoodsSaveResult r;
        EXPECT_NO_THROW(r = add(in));
        if (c.refusal) {
            EXPECT_EQ(r.status, SaveStatus::Refused);
            EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(c.refusal)});
            EXPECT_EQ(count("jxc_goods"), before);
        } else {
            ASSERT_TRUE(r.saved()) << notices.texts().join(QLatin1Char('|')).toStdString();
            const QVariantMap g = GoodsRecordBySn(db(), r.code);
            EXPECT_EQ(g.value("g_name").toString(), SafeTextKeepMath(StripControls(in.name)));
            EXPECT_EQ(g.value("g_sn").toString(), in.code);
        }
    }
}

// The modify dialog, the extra-barcode dialog and the class tree hold the same edges.
TEST_F(TextEdgesTest, OtherGoodsRulesHoldTheSameEdges)
{
    ASSERT_TRUE(add(goods(QStringLiteral("M1"), QStringLiteral("原名"))).saved());
    const qint64 id = GoodsRecordBySn(db(), QStringLiteral("M1")).value("id").toLongLong();

    GoodsInput in = goods(QStringLiteral("M1"), QStringLiteral("名").repeated(129));
    EXPECT_EQ(SaveModifiedGoods(db(), state, clock, notices, id, in).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("商品名称的长度不能超过128个字符！"));
    in.name = QStringLiteral("新") + kNul + QStringLiteral("名");
    EXPECT_TRUE(SaveModifiedGoods(db(), state, clock, notices, id, in).saved());
    EXPECT_EQ(scalar("select g_name from jxc_goods where id = ?", {id}), QStringLiteral("新名"));
    EXPECT_EQ(scalar("select g_name from jxc_goodslist where g_sn = 'M1'"), QStringLiteral("新名"));

    AuxUnitRules aux(db(), notices);
    AuxContext stored;
    stored.mode = AuxMode::StoredNew;
    stored.goodsCode = QStringLiteral("M1");
    stored.baseUnit = QStringLiteral("瓶");
    EXPECT_FALSE(aux.saveBarcode(stored, QStringLiteral("6").repeated(65), QString()));
    EXPECT_EQ(notices.last(), QStringLiteral("商品条码的长度不能超过64个字符！"));
    EXPECT_FALSE(aux.saveBarcode(stored, QStringLiteral("6901"), QStringLiteral("备").repeated(33)));
    EXPECT_EQ(notices.last(), QStringLiteral("条码备注的长度不能超过32个字符！"));
    EXPECT_TRUE(aux.saveBarcode(stored, QStringLiteral("69") + kNul + QStringLiteral("02"), QStringLiteral("整箱\x01")));
    EXPECT_EQ(scalar("select g_tmbz from jxc_goodstm where g_sptm = '6902'"), QStringLiteral("整箱"));

    GoodsClassRules classes(db(), notices);
    const auto cls = classes.create(1);
    ASSERT_TRUE(cls.has_value());
    EXPECT_FALSE(classes.rename(cls->key, QStringLiteral("类").repeated(65)));
    EXPECT_EQ(notices.last(), QStringLiteral("类别名称的长度不能超过64个字符！"));
    EXPECT_TRUE(classes.rename(cls->key, QStringLiteral("饮") + kNul + QStringLiteral("料")));
    EXPECT_EQ(scalar("select gc_name from jxc_goodsclass where gc_key = ?", {cls->key}), QStringLiteral("饮料"));
}

// Customers and suppliers keep their texts the same way: no control characters, and names longer
// than their column are cut to it (the dialogs take no more), the same on both databases.
TEST_F(TextEdgesTest, PartnersHoldTheSameEdges)
{
    for (const PartnerKind kind : {PartnerKind::Customer, PartnerKind::Supplier}) {
        PartnerRules rules = partners(kind);
        const QString table = rules.info().tableName();
        SCOPED_TRACE(table.toStdString());
        const auto stored = [&](const QString &code, const char *column) {
            return scalar(QStringLiteral("select %1 from %2 where %3 = ?")
                              .arg(rules.info().column(column), table, rules.info().column("sn")),
                          {code});
        };
        PartnerInput in = named(QStringLiteral("华") + kNul + QStringLiteral("联😀"));
        in.contact = QStringLiteral("张\t三");
        in.note = QStringLiteral("月结\x01");
        RecordSaveResult r;
        EXPECT_NO_THROW(r = rules.add(in));
        ASSERT_TRUE(r.saved()) << notices.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(stored(r.code, "name"), QStringLiteral("华联😀"));
        EXPECT_EQ(stored(r.code, "lxr"), QStringLiteral("张三"));
        EXPECT_EQ(stored(r.code, "note"), QStringLiteral("月结"));

        r = rules.add(named(QStringLiteral("𠮷").repeated(129)));
        ASSERT_TRUE(r.saved()) << notices.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(stored(r.code, "name"), QStringLiteral("𠮷").repeated(128));

        r = rules.add(named(QStringLiteral("'; drop table jxc_goods; --")));
        ASSERT_TRUE(r.saved());
        EXPECT_EQ(stored(r.code, "name"), QStringLiteral("‘; drop table jxc_goods; --"));
    }
}

// The goods search binds typed text as a literal pattern: wildcards, quotes and backslashes
// match themselves, control characters are dropped.
TEST_F(TextEdgesTest, GoodsSearchMatchesTypedTextLiterally)
{
    const QString drop = QStringLiteral("'; drop table jxc_goods; --");
    for (const QString &code : {drop, QStringLiteral("%"), QStringLiteral("_"), QStringLiteral("\\"),
                                QStringLiteral("😀"), QStringLiteral("AB")})
        ASSERT_TRUE(add(goods(code, QStringLiteral("甲"))).saved()) << code.toStdString();
    struct Case
    {
        QString typed;
        QStringList codes;
    };
    const QList<Case> cases{
        {QStringLiteral("%"), {QStringLiteral("%")}},
        {QStringLiteral("_"), {drop, QStringLiteral("_")}},  // "jxc_goods" holds one
        {QStringLiteral("\\"), {QStringLiteral("\\")}},
        {QStringLiteral("'"), {drop}},
        {QStringLiteral("; drop"), {drop}},
        {QStringLiteral("😀"), {QStringLiteral("😀")}},
        {QStringLiteral("_") + kNul, {drop, QStringLiteral("_")}},
        {QStringLiteral("a") + kNul + QStringLiteral("b"), {drop, QStringLiteral("AB")}},  // "table"
        {QStringLiteral("%_"), {}},
        {QString(kNul), {QStringLiteral("%"), drop, QStringLiteral("AB"), QStringLiteral("\\"), QStringLiteral("_"),
                         QStringLiteral("😀")}},  // nothing typed: every goods
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        QStringList found;
        EXPECT_NO_THROW(found = search(c.typed));
        EXPECT_EQ(found, c.codes);
    }
    EXPECT_EQ(GoodsStockTotal(db(), QStringLiteral("%") + kNul, QString()), QStringLiteral("12"));
}

} // namespace
