#include "purchasing/forms/cgjh_sele.h"

#include "foundation/datamodule.h"
#include "foundation/db/numbers.h"
#include "foundation/doccontext.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/lineboxes.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {


MoneyEdit *NumberBox(const char *name, QWidget *parent)
{
    auto *e = new MoneyEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

} // namespace

TF_Cgjh_Sele::TF_Cgjh_Sele(PurchaseKind kind, const ScreenContext &context, QWidget *parent)
    : LineDialog(QString::fromUtf8(PurchaseScreensOf(kind).lineCaption), context.state->UiFontSize, parent), m_kind(kind), m_context(context),
      m_writer(context.data->mainDb(), *context.state, *context.notices, kind), m_model(PurchaseLineRules(kind), *context.state)
{
    setObjectName(QString::fromLatin1(PurchaseScreensOf(kind).lineDialog));
    const bool isReturn = kind == PurchaseKind::Return;
    addGoodsInfo();
    if (!isReturn)
        addInfo(QStringLiteral("g_scjj"), QStringLiteral("上次进价："));

    m_price = NumberBox("tgpjjj", this);
    addEdit(isReturn ? QStringLiteral("退货单价：") : QStringLiteral("参考进价："), m_price);
    m_quantity = NumberBox("tsl", this);
    m_quantity->setMinusIgnored(!isReturn);
    addEdit(QStringLiteral("数量："), m_quantity);
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("comDw"));
    addEdit(QStringLiteral("单位："), m_unit);
    m_rate = NumberBox("ttax", this);
    m_rateRow = addRateEdit(m_rate);
    m_taxPrice = NumberBox("ttaxdj", this);
    addEdit(QStringLiteral("含税单价："), m_taxPrice);
    m_discountHint = new QLabel(QStringLiteral("1为不打折,0.8为打8折"), this);
    m_discountHint->setObjectName(QStringLiteral("LabelDzlHint"));
    addEdit(QString(), m_discountHint);
    m_discount = NumberBox("tdzl", this);
    addEdit(QStringLiteral("打折率："), m_discount);
    if (!isReturn) {
        m_total = NumberBox("tzje", this);
        m_totalCaption = addEdit(QStringLiteral("总计："), m_total);
    }
    m_note = new QLineEdit(this);
    m_note->setObjectName(QStringLiteral("tbz"));
    m_note->setMaxLength(isReturn ? 60 : 64);
    InstallCharFilter(m_note, CharFilter::Standard);
    addEdit(QStringLiteral("备注："), m_note);

    // History (and the order's quotes) below the boxes.
    const bool order = kind == PurchaseKind::Order;
    setHistoryCaption(order ? QStringLiteral("该商品订货记录") : QStringLiteral("该商品进货记录"));
    m_historyModel = new SqlGridModel(context.data->mainDb());
    GridColumn id = ListColumn("id", "ID", 40, ColumnKind::Integer);
    id.visible = false;
    m_historyModel->setColumns({id, ListColumn("j_jhrq", order ? "订货日期" : "供货日期", 120, ColumnKind::DateText),
                                ListColumn("gl_djh", "单据号", 120),
                                ListColumn("jh_dj", order ? "单价" : "采购单价", 80, ColumnKind::Money),
                                ListColumn("jh_sl", "数量", 70, ColumnKind::Quantity),
                                ListColumn("jh_zje", "总金额", 90, ColumnKind::Money)});
    historyGrid()->setModel(m_historyModel);
    historyGrid()->setFooter(QStringLiteral("jh_sl"), FooterKind::Sum);
    if (order) {
        m_quotePage = new QWidget;
        m_quotes = new DataGrid(m_quotePage);
        m_quotes->setObjectName(QStringLiteral("quoteGrid"));
        auto *qv = new QHBoxLayout(m_quotePage);
        qv->setContentsMargins(0, 0, 0, 0);
        qv->addWidget(m_quotes);
        m_quoteModel = new SqlGridModel(context.data->mainDb());
        m_quoteModel->setColumns({id, ListColumn("gb_bjrq", "报价日期", 100, ColumnKind::DateText),
                                  ListColumn("gb_bj", "报价", 80, ColumnKind::Money),
                                  ListColumn("g_jj", "预设进价", 80, ColumnKind::Money),
                                  ListColumn("g_sj", "预设售价", 80, ColumnKind::Money), ListColumn("u_name", "报价人", 80),
                                  ListColumn("gb_note", "备注", 120)});
        m_quotes->setModel(m_quoteModel);
        pages()->addTab(m_quotePage, QStringLiteral("报价记录"));
        connect(m_quotes, &DataGrid::rowActivated, this, [this](int row) {
            if (m_quotes->rowCount() > 0)
                takeRow(m_quotes->value(row, QStringLiteral("gb_bj")).toDouble(), m_model.values().quantity);
        });
    }
    if (isReturn) {
        connect(historyGrid(), &DataGrid::rowActivated, this, [this](int row) {
            if (historyGrid()->rowCount() > 0)
                takeRow(historyGrid()->value(row, QStringLiteral("jh_dj")).toDouble(),
                        historyGrid()->value(row, QStringLiteral("jh_sl")).toDouble());
        });
    }
    pictureButton()->setVisible(kind == PurchaseKind::Receipt);
    if (kind != PurchaseKind::Receipt)
        keys()->unbind(Qt::Key_F4);

    // The linked boxes: change rules on every change, key rules on a released key.
    m_boxes = new LineBoxes(m_model, {m_price, m_quantity, m_rate, m_taxPrice, m_discount, m_total}, this);
    connect(m_unit, &QComboBox::currentIndexChanged, this, &TF_Cgjh_Sele::onUnitChosen);

    confirm = [this] { return confirmLine(); };
    showPicture = [this] { openPicture(); };
    connect(this, &ScreenDialog::opened, this, &TF_Cgjh_Sele::activate);
    resize(720, 560);
}

TF_Cgjh_Sele::~TF_Cgjh_Sele() = default;

void TF_Cgjh_Sele::activate()
{
    const LoginState &state = *m_context.state;
    m_doc = DocumentContextOr(this, m_ownDoc, PurchaseDocType(m_kind));
    m_mode = LineModeFromTag(m_kind, property(handoff::LineTag).toString());
    m_goods = property(handoff::GoodsCode).toString();
    m_lineId = property(handoff::LineId).toLongLong();

    const LineOpening o = m_writer.open(*m_doc, m_mode, m_goods, m_lineId);
    m_boxes->filling = true;
    m_storedUnit = ShowLineOpening(
        *this, m_unit, m_note, o,
        {{QStringLiteral("g_scjj"), state.CurrencySymbol + NumberText(o.lastPrice) + QStringLiteral("元")}});
    m_sourceNumber = o.sourceNumber;
    m_sourceLineId = o.sourceLineId;
    m_boxes->load(o.values);
    m_boxes->filling = false;

    m_historyModel->setStatement(QString(), QString());
    const ListStatement history = m_writer.history(m_goods, m_doc->partner);
    m_historyModel->setStatement(history.body, history.order, history.binds);
    historyGrid()->reload(ReloadTarget::First);
    pages()->setCurrentWidget(historyPage());
    if (m_quotes) {
        const ListStatement quotes = m_writer.quotes(m_goods, m_doc->partner);
        m_quoteModel->setStatement(quotes.body, quotes.order, quotes.binds);
        m_quotes->reload(ReloadTarget::First);
        const bool any = m_quotes->rowCount() > 0;
        const int index = pages()->indexOf(m_quotePage);
        pages()->setTabVisible(index, any);
        if (any)
            pages()->setCurrentIndex(index);
    }
    applyVisibility();
    m_boxes->show();
    m_quantity->setFocus(Qt::OtherFocusReason);
    m_quantity->selectAll();
}

void TF_Cgjh_Sele::applyVisibility()
{
    const LoginState &state = *m_context.state;
    const bool cost = state.RightShowCost;
    if (QLabel *last = infoLabel(QStringLiteral("g_scjj")))
        last->setVisible(cost);
    m_price->setVisible(cost);
    pages()->setVisible(cost);
    if (m_total) {
        setEditRowVisible(m_total, cost);
    }
    for (const char *f : {"jh_dj", "jh_zje"})
        historyGrid()->setColumnGated(QString::fromLatin1(f), !cost);
    if (m_quotes)
        for (const char *f : {"gb_bj", "g_jj", "g_sj"})
            m_quotes->setColumnGated(QString::fromLatin1(f), !cost);
    const bool tax = IsTrueWithCostRight(state, state.UseTax, QStringLiteral("cj"));
    setEditRowVisible(m_rateRow, tax);
    setEditRowVisible(m_taxPrice, tax);
    const bool discount = IsTrueWithCostRight(state, state.UseDiscount, QStringLiteral("cj"));
    setEditRowVisible(m_discountHint, discount);
    setEditRowVisible(m_discount, discount);
    setEditRowVisible(m_unit, IsTrue(state.UseAuxUnits));
    setInfoRowVisible(QStringLiteral("color_name"), IsTrue(state.UseGoodsColour));

    SetMoneyEditFormat(m_price, state);
    SetMoneyEditFormat(m_taxPrice, state);
    SetQtyEditFormat(m_quantity, state);
    m_price->setMaxLength(9);
    m_quantity->setMaxLength(9);
    m_taxPrice->setMaxLength(9);
    m_rate->setDecimals(4);
    m_rate->setMaxLength(9);
    m_discount->setDecimals(4);
    m_discount->setMaxLength(m_kind == PurchaseKind::Order ? 4 : 6);
    if (m_total) {
        SetMoneyEditFormat(m_total, state);
        m_total->setMaxLength(m_kind == PurchaseKind::Order ? 9 : 14);
    }
    SetMoneyColumnFormat(*historyGrid(), QStringLiteral("jh_dj"), state);
    SetMoneyColumnFormat(*historyGrid(), QStringLiteral("jh_zje"), state);
    SetQtyColumnFormat(*historyGrid(), QStringLiteral("jh_sl"), state);
    SetQtyFooterFormat(*historyGrid(), QStringLiteral("jh_sl"), state);
    if (m_quotes)
        for (const char *f : {"gb_bj", "g_jj", "g_sj"})
            SetMoneyColumnFormat(*m_quotes, QString::fromLatin1(f), state);
}

void TF_Cgjh_Sele::onUnitChosen(int index)
{
    if (m_boxes->filling || index < 0)
        return;
    const QString unit = m_unit->itemText(index);
    setInfoText(QStringLiteral("dw_name"), unit);
    m_model.unitChanged(m_writer.unitPrice(m_goods, unit, index == 0));
    m_boxes->show();
}

void TF_Cgjh_Sele::takeRow(double price, double quantity)
{
    m_boxes->filling = true;
    m_unit->setCurrentIndex(0);
    m_boxes->filling = false;
    LineEntryModel::Values v = m_model.values();
    v.price = price;
    v.quantity = quantity;
    v.rate = 0.0;
    v.taxPrice = price;
    m_boxes->load(v);
}

bool TF_Cgjh_Sele::confirmLine()
{
    m_model.deriveFromTotal();
    m_boxes->show();
    LineInput in;
    in.values = m_model.values();
    in.unit = m_unit->currentText();
    in.baseUnit = m_unit->currentIndex() <= 0;
    in.storedUnitFactor = m_storedUnit.factorAt(m_unit->currentIndex());
    in.note = m_note->text();
    in.stockText = infoText(QStringLiteral("kc_sl"));
    in.sourceNumber = m_sourceNumber;
    in.sourceLineId = m_sourceLineId;
    const PurchaseResult r = m_writer.write(*m_doc, m_mode, m_goods, m_lineId, in);
    if (r.status == PurchaseStatus::Refused || r.status == PurchaseStatus::Declined)
        m_quantity->setFocus(Qt::OtherFocusReason);
    return r.done();
}

void TF_Cgjh_Sele::openPicture()
{
    if (m_kind != PurchaseKind::Receipt)
        return;
    std::unique_ptr<QDialog> viewer(
        m_context.registry->create(QStringLiteral("TF_Spxxgl_Pic2"), QStringLiteral("商品图片"), m_context, this));
    viewer->setProperty(handoff::PictureFile, m_goods + QStringLiteral(".jpg"));
    viewer->exec();
}
