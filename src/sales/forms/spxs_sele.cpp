#include "sales/forms/spxs_sele.h"

#include "foundation/datamodule.h"
#include "foundation/db/numbers.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "sales/forms/salesscreens.h"
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

#include <memory>

namespace {


MoneyEdit *NumberBox(const char *name, QWidget *parent)
{
    auto *e = new MoneyEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

GridColumn HiddenId()
{
    GridColumn id = ListColumn("id", "ID", 40, ColumnKind::Integer);
    id.visible = false;
    return id;
}

} // namespace

TF_Spxs_Sele::TF_Spxs_Sele(const ScreenContext &context, QWidget *parent)
    : LineDialog(QString::fromUtf8(sales::kLineCaption), context.state->UiFontSize, parent), m_context(context),
      m_writer(context.data->mainDb(), *context.state, *context.clock, *context.notices),
      m_model(LineRules::Sale, *context.state)
{
    setObjectName(QString::fromLatin1(sales::kLineDialog));
    addGoodsInfo();
    if (QLabel *name = infoLabel(QStringLiteral("g_name")))
        name->setStyleSheet(QStringLiteral("color: red;"));
    if (QLabel *stock = infoLabel(QStringLiteral("kc_sl")))
        stock->setStyleSheet(QStringLiteral("color: red;"));

    m_priceRow = new QWidget(this);
    m_price = NumberBox("tgsj", m_priceRow);
    m_priceButton = new QPushButton(QStringLiteral("..."), m_priceRow);
    m_priceButton->setObjectName(QStringLiteral("btnSpsj"));
    m_priceButton->setAutoDefault(false);
    m_priceButton->setFocusPolicy(Qt::NoFocus);
    auto *priceLayout = new QHBoxLayout(m_priceRow);
    priceLayout->setContentsMargins(0, 0, 0, 0);
    priceLayout->addWidget(m_price, 1);
    priceLayout->addWidget(m_priceButton);
    addEdit(QStringLiteral("参考售价："), m_priceRow);
    m_discount = NumberBox("tdzl", this);
    addEdit(QStringLiteral("打折率："), m_discount);
    m_discounted = new QLabel(this);
    m_discounted->setObjectName(QStringLiteral("lzhj"));
    m_discounted->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    addEdit(QStringLiteral("折后价："), m_discounted);
    m_quantity = NumberBox("tsl", this);
    m_quantity->setMinusIgnored(true);
    addEdit(QStringLiteral("数量："), m_quantity);
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("comDw"));
    addEdit(QStringLiteral("单位："), m_unit);
    m_total = NumberBox("tzje", this);
    addEdit(QStringLiteral("总计："), m_total);
    m_rate = NumberBox("ttax", this);
    m_rateRow = addRateEdit(m_rate);
    m_taxPrice = NumberBox("ttaxdj", this);
    addEdit(QStringLiteral("含税单价："), m_taxPrice);
    m_retail = NumberBox("tlsj", this);
    m_retail->setReadOnly(true);
    addEdit(QStringLiteral("零售价："), m_retail);
    m_note = new QLineEdit(this);
    m_note->setObjectName(QStringLiteral("tbz"));
    m_note->setMaxLength(64);
    InstallCharFilter(m_note, CharFilter::Standard);
    addEdit(QStringLiteral("备注："), m_note);
    m_cost = NumberBox("tcbj", this);
    addEdit(QStringLiteral("基本单位成本价："), m_cost);
    m_batch = new QLineEdit(this);
    m_batch->setObjectName(QStringLiteral("pcdjh"));
    m_batch->setReadOnly(true);
    addEdit(QStringLiteral("批次单号："), m_batch);
    m_available = NumberBox("tsysl", this);
    m_available->setReadOnly(true);
    addEdit(QStringLiteral("可用数量："), m_available);
    setEditRowVisible(m_batch, false);
    setEditRowVisible(m_available, false);

    // The customer's sales of the goods, then the goods' purchases.
    setHistoryCaption(QStringLiteral("客户消费该商品记录"));
    m_historyModel = new SqlGridModel(context.data->mainDb());
    m_historyModel->setColumns({HiddenId(), ListColumn("ls_xsrq", "销售日期", 120, ColumnKind::DateText),
                                ListColumn("gl_djh", "单据号", 120), ListColumn("ls_dj", "销售单价", 80, ColumnKind::Money),
                                ListColumn("ls_sl", "数量", 70, ColumnKind::Quantity),
                                ListColumn("ls_zje", "总金额", 90, ColumnKind::Money), ListColumn("dw_name", "单位", 50)});
    historyGrid()->setModel(m_historyModel);
    historyGrid()->setFooter(QStringLiteral("ls_sl"), FooterKind::Sum);
    m_purchasePage = new QWidget;
    m_purchases = new DataGrid(m_purchasePage);
    m_purchases->setObjectName(QStringLiteral("purchaseGrid"));
    auto *pv = new QHBoxLayout(m_purchasePage);
    pv->setContentsMargins(0, 0, 0, 0);
    pv->addWidget(m_purchases);
    m_purchaseModel = new SqlGridModel(context.data->mainDb());
    m_purchaseModel->setColumns({HiddenId(), ListColumn("j_jhrq", "采购日期", 120, ColumnKind::DateText),
                                 ListColumn("gl_djh", "单据号", 120), ListColumn("jh_dj", "采购单价", 80, ColumnKind::Money),
                                 ListColumn("jh_sl", "数量", 70, ColumnKind::Quantity),
                                 ListColumn("jh_zje", "总金额", 90, ColumnKind::Money)});
    m_purchases->setModel(m_purchaseModel);
    m_purchases->setFooter(QStringLiteral("jh_sl"), FooterKind::Sum);
    pages()->addTab(m_purchasePage, QStringLiteral("该商品进货记录"));
    connect(historyGrid(), &DataGrid::rowActivated, this, &TF_Spxs_Sele::takeHistoryRow);

    // The linked boxes: change rules on every change, key rules on a released key (the cost box
    // counting as the tax-inclusive price); the 折后价 label follows.
    m_boxes = new LineBoxes(m_model, {m_price, m_quantity, m_rate, m_taxPrice, m_discount, m_total}, this);
    m_boxes->keyAsTaxPrice(m_cost);
    m_boxes->shown = [this] { m_discounted->setText(NumberText(m_model.discountedPrice())); };
    connect(m_unit, &QComboBox::currentIndexChanged, this, &TF_Spxs_Sele::onUnitChosen);
    connect(m_priceButton, &QPushButton::clicked, this, &TF_Spxs_Sele::choosePrice);

    confirm = [this] { return confirmLine(); };
    showPicture = [this] { openPicture(); };
    connect(this, &ScreenDialog::opened, this, &TF_Spxs_Sele::activate);
    resize(760, 600);
}

TF_Spxs_Sele::~TF_Spxs_Sele() = default;

void TF_Spxs_Sele::activate()
{
    // Once per opening: what was typed survives the picture viewer and the price chooser.
    if (m_activated)
        return;
    m_activated = true;
    m_doc = DocumentContextOr(this, m_ownDoc, SaleDocType());
    m_mode = SaleLineModeFromTag(property(handoff::LineTag).toString());
    m_goods = property(handoff::GoodsCode).toString();
    m_lineId = property(handoff::LineId).toLongLong();

    const SaleLineOpening o = m_writer.open(*m_doc, m_mode, m_goods, m_lineId);
    m_boxes->filling = true;
    m_storedUnit = ShowLineOpening(*this, m_unit, m_note, o);
    m_sourceNumber = o.sourceNumber;
    m_sourceLineId = o.sourceLineId;
    m_batch->setText(o.sourceNumber);
    m_available->setValue(0);
    m_retail->setValue(o.retail);
    m_cost->setValue(o.cost);
    m_boxes->load(o.values);
    m_boxes->filling = false;

    m_historyModel->setStatement(QString(), QString());
    const ListStatement sales = m_writer.saleHistory(m_goods, m_doc->partner);
    m_historyModel->setStatement(sales.body, sales.order, sales.binds);
    historyGrid()->reload(ReloadTarget::First);
    const ListStatement purchases = m_writer.purchaseHistory(m_goods);
    m_purchaseModel->setStatement(purchases.body, purchases.order, purchases.binds);
    m_purchases->reload(ReloadTarget::First);
    pages()->setCurrentWidget(historyPage());
    applyVisibility();
    m_boxes->show();
    m_quantity->setFocus(Qt::OtherFocusReason);
    m_quantity->selectAll();
}

void TF_Spxs_Sele::applyVisibility()
{
    const LoginState &state = *m_context.state;
    const bool salePrice = state.RightShowSalePrice;
    const bool priceEdit = IsTrue(state.AllowSalePriceEdit);
    for (const char *f : {"jh_dj", "jh_zje"})
        m_purchases->setColumnGated(QString::fromLatin1(f), !state.RightShowCost);
    setEditRowVisible(m_retail, IsTrue(state.UseRetailPrice));
    for (const char *f : {"ls_dj", "ls_zje"})
        historyGrid()->setColumnGated(QString::fromLatin1(f), !salePrice);
    setEditRowVisible(m_priceRow, salePrice);
    for (QWidget *w : {static_cast<QWidget *>(m_price), static_cast<QWidget *>(m_priceButton),
                       static_cast<QWidget *>(m_taxPrice)})
        w->setEnabled(priceEdit);
    setEditRowVisible(m_total, salePrice && priceEdit);
    const bool tax = IsTrueWithCostRight(state, state.UseTax, QStringLiteral("xs"));
    setEditRowVisible(m_rateRow, tax);
    setEditRowVisible(m_taxPrice, tax);
    const bool discount = IsTrue(state.UseDiscount) && salePrice;
    setEditRowVisible(m_discount, discount);
    setEditRowVisible(m_discounted, discount);
    setEditRowVisible(m_unit, IsTrue(state.UseAuxUnits));
    setEditRowVisible(m_cost, m_writer.costShown());
    setInfoRowVisible(QStringLiteral("color_name"), IsTrue(state.UseGoodsColour));

    for (MoneyEdit *e : {m_price, m_retail, m_taxPrice, m_cost, m_total})
        SetMoneyEditFormat(e, state);
    SetQtyEditFormat(m_quantity, state);
    SetQtyEditFormat(m_available, state);
    m_rate->setDecimals(4);
    m_rate->setMaxLength(9);
    m_discount->setDecimals(4);
    m_discount->setMaxLength(6);
    for (DataGrid *g : {historyGrid(), m_purchases}) {
        const bool sale = g == historyGrid();
        for (const char *f : sale ? std::initializer_list<const char *>{"ls_dj", "ls_zje"}
                                  : std::initializer_list<const char *>{"jh_dj", "jh_zje"})
            SetMoneyColumnFormat(*g, QString::fromLatin1(f), state);
        const QString qty = sale ? QStringLiteral("ls_sl") : QStringLiteral("jh_sl");
        SetQtyColumnFormat(*g, qty, state);
        SetQtyFooterFormat(*g, qty, state);
    }
}

void TF_Spxs_Sele::onUnitChosen(int index)
{
    if (m_boxes->filling || index < 0)
        return;
    const QString unit = m_unit->itemText(index);
    setInfoText(QStringLiteral("dw_name"), unit);
    const SaleUnitPrice p = m_writer.unitPrice(m_doc->partner, m_goods, unit, index == 0);
    m_retail->setValue(p.retail);
    m_model.unitChanged(p.price);
    m_boxes->show();
}

void TF_Spxs_Sele::takeHistoryRow(int row)
{
    if (historyGrid()->rowCount() == 0)
        return;
    // The history's price and quantity in the base unit, prices not read again.
    m_boxes->filling = true;
    m_unit->setCurrentIndex(0);
    m_boxes->filling = false;
    setInfoText(QStringLiteral("dw_name"), m_unit->itemText(0));
    LineEntryModel::Values v = m_model.values();
    v.price = historyGrid()->value(row, QStringLiteral("ls_dj")).toDouble();
    v.quantity = historyGrid()->value(row, QStringLiteral("ls_sl")).toDouble();
    m_boxes->load(v);
}

void TF_Spxs_Sele::choosePrice()
{
    m_price->setFocus(Qt::OtherFocusReason);
    std::unique_ptr<QDialog> chooser(m_context.registry->create(QString::fromLatin1(sales::kPriceChooser),
                                                                QString::fromUtf8(sales::kPriceCaption), m_context, this));
    chooser->setProperty(handoff::GoodsCode, m_goods);
    chooser->setProperty(handoff::GoodsName, infoText(QStringLiteral("g_name")));
    if (chooser->exec() != QDialog::Accepted)
        return;
    const QVariant price = chooser->property(handoff::ChosenPrice);
    if (price.isValid())
        m_price->setValue(price.toDouble());
}

bool TF_Spxs_Sele::confirmLine()
{
    SaleLineInput in;
    in.values = m_model.values();
    in.unit = m_unit->currentText();
    in.storedUnitFactor = m_storedUnit.factorAt(m_unit->currentIndex());
    in.retail = m_retail->value();
    in.cost = m_cost->value();
    in.note = m_note->text();
    in.stockText = infoText(QStringLiteral("kc_sl"));
    in.sourceNumber = m_sourceNumber;
    in.sourceLineId = m_sourceLineId;
    const SaleResult r = m_writer.write(*m_doc, m_mode, m_goods, m_lineId, in);
    if (r.status == SaleStatus::Refused || r.status == SaleStatus::Declined)
        m_quantity->setFocus(Qt::OtherFocusReason);
    return r.done();
}

void TF_Spxs_Sele::openPicture()
{
    std::unique_ptr<QDialog> viewer(
        m_context.registry->create(QStringLiteral("TF_Spxxgl_Pic2"), QStringLiteral("商品图片"), m_context, this));
    viewer->setProperty(handoff::PictureFile, m_goods + QStringLiteral(".jpg"));
    viewer->exec();
}
