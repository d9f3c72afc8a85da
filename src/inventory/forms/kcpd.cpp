#include "inventory/forms/kcpd.h"

#include "foundation/datamodule.h"
#include "foundation/defaultrecords.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace {

DocumentShape CountShape()
{
    DocumentShape shape = InventoryShape(
        InventoryDocType(InventoryDoc::Stocktaking), QStringLiteral("库存盘点"),
        {QStringLiteral("库存盘点单"), QStringLiteral("待审核盘点单"), QStringLiteral("库存盘点查询")}, QStringLiteral("开单日期："),
        {ListColumn("pd_sl", "盘点数量", 90, ColumnKind::Quantity), ListColumn("kc_sl", "库存数量", 90, ColumnKind::Quantity),
         HiddenColumn("id", ColumnKind::Integer, 40), HiddenColumn("g_jm"), HiddenColumn("a_name")});
    shape.barcodeRepeatsItem = false;
    return shape;
}

QLineEdit *ReadOnlyTotal(QWidget *parent, const char *name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(110);
    return box;
}

} // namespace

TF_Kcpd::TF_Kcpd(const ScreenContext &context, QWidget *parent)
    : InventoryWindow(CountShape(), context, QStringLiteral("kcpd"), QStringLiteral("TF_Kcpd_Print"), parent),
      m_rules(context.data->mainDb(), *context.state, *context.clock, *context.notices)
{
    setObjectName(QStringLiteral("TF_Kcpd"));
    placeWarehouse(QStringLiteral("盘点仓库："), 1, 0);
    addButton()->setText(QStringLiteral("产品添加(F2)"));

    // "盘点数据导入" after "打印".
    auto *row = static_cast<QBoxLayout *>(buttonGroup()->layout());
    m_import = new QPushButton(QStringLiteral("盘点数据导入"), buttonGroup());
    m_import->setObjectName(QStringLiteral("btnImport"));
    m_import->setToolTip(QStringLiteral("模板中标题为红色的列,要求必须输入！"));
    m_import->setAutoDefault(false);
    row->insertWidget(row->indexOf(printButton()) + 1, m_import);
    connect(m_import, &QPushButton::clicked, this, &TF_Kcpd::importCounts);

    // The totals of every line of the number before the handler and the note.
    QWidget *bottom = bottomArea();
    auto *totals = static_cast<QBoxLayout *>(bottom->layout());
    m_bookTotal = ReadOnlyTotal(bottom, "tkcsl");
    m_countTotal = ReadOnlyTotal(bottom, "tpdsl");
    totals->addWidget(new QLabel(QStringLiteral("库存数量："), bottom));
    totals->addWidget(m_bookTotal);
    totals->addWidget(new QLabel(QStringLiteral("盘点数量："), bottom));
    totals->addWidget(m_countTotal);
    totals->addSpacing(16);
    placeHandlerAndNote(QStringLiteral("备注："));

    DataGrid *lines = linesGrid();
    lines->setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("记录数："));
    lines->setFooter(QStringLiteral("pd_sl"), FooterKind::Sum);
    lines->setFooter(QStringLiteral("kc_sl"), FooterKind::Sum);

    DocumentHooks &h = hooks();
    h.opening = [this] { opening(); };
    h.started = [this] { startDocument(); };
    h.linesStatement = [this](const QString &n) { return m_rules.linesStatement(n); };
    h.add = [this] { addGoods(); };
    h.modify = [this](const QVariant &) { modifyLine(); };
    h.remove = [this](const QVariant &) { deleteLine(); };
    h.save = [this] { save(); };
    h.discard = [this] { m_rules.discard(number()); };
    h.barcode = [this](const QString &code) { onScanned(code); };
    h.linesReloaded = [this] {
        updateLocks();
        updateTotals();
    };
    h.refreshPending = [] {};
    h.runQuery = [] {};
    connect(this, &ScreenDialog::opened, this, &TF_Kcpd::afterOpening);
    resize(960, 620);
}

TF_Kcpd::~TF_Kcpd() = default;

void TF_Kcpd::opening()
{
    saveButton()->setEnabled(true);
    fillHandlers();
    FillKeyedCombo(warehouseBox(), InventoryWarehouses(m_db, *m_context.state));
}

void TF_Kcpd::startDocument()
{
    noteBox()->clear();
    // The operator's lines left under the number handed out are dropped.
    m_rules.discard(number());
    reloadLines();
    KeyedCombo *warehouse = warehouseBox();
    if (!warehouse->selectText(GetDefaultWarehouseName(m_db)) && warehouse->count() > 0)
        warehouse->setCurrentIndex(0);
}

void TF_Kcpd::afterOpening()
{
    applyRights();
    setBarcodePanelShown(true);
    barcodePanel()->entryBox()->setFocus(Qt::OtherFocusReason);
}

void TF_Kcpd::applyRights()
{
    const LoginState &state = *m_context.state;
    setEntryAllowed(HasRight(m_db, state, QStringLiteral("kcgl"), 5));
    m_import->setEnabled(addButton()->isEnabled());
    setPrintBeforeSave(!IsTrue(state.NoPrintBeforeSave));
    DataGrid *g = linesGrid();
    g->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
    for (const char *f : {"pd_sl", "kc_sl"}) {
        SetQtyColumnFormat(*g, QString::fromLatin1(f), state);
        SetQtyFooterFormat(*g, QString::fromLatin1(f), state);
    }
}

void TF_Kcpd::updateTotals()
{
    const CountTotals t = m_rules.totals(number());
    const int decimals = m_context.state->QtyDecimals;
    m_bookTotal->setText(QString::number(t.book, 'f', decimals));
    m_countTotal->setText(QString::number(t.counted, 'f', decimals));
}

void TF_Kcpd::onScanned(const QString &code)
{
    barcodePanel()->entryBox()->setText(StocktakingRules::ScannedCode(code));
    const InventoryResult r = m_rules.scan(documentContext(), code);
    if (!r.done())
        return;
    barcodePanel()->entryBox()->clear();
    linesGrid()->locate(QStringLiteral("id"), r.lineId);
    if (barcodePanel()->opensEditorAfterAdd())
        modifyLine();
}

void TF_Kcpd::addGoods()
{
    if (warehouseBox()->count() == 0) {
        m_context.notices->notice(QStringLiteral("请添加仓库信息！"));
        return;
    }
    openOnContext(QStringLiteral("TF_Kcpd_Add"), QStringLiteral("盘点商品添加"), documentContext());
    reloadLines();
}

void TF_Kcpd::modifyLine()
{
    if (lineCount() == 0)
        return;
    openOnContext(QStringLiteral("TF_Kcpd_Sele"), QStringLiteral("盘点商品设置"), documentContext(),
                  InventoryLineModeTag(InventoryDoc::Stocktaking, InventoryLineMode::Draft),
                  linesGrid()->currentValue(QStringLiteral("g_sn")).toString(),
                  linesGrid()->currentValue(QStringLiteral("id")).toLongLong());
    reloadLines();
}

void TF_Kcpd::deleteLine()
{
    if (lineCount() == 0 || !m_context.notices->confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
        return;
    m_rules.removeGoods(number(), linesGrid()->currentValue(QStringLiteral("id")).toLongLong());
    reloadLines();
}

void TF_Kcpd::importCounts()
{
    openOnContext(QStringLiteral("TF_Kcpd_Import"), QStringLiteral("盘点数据导入"), documentContext());
    reloadLines();
}

void TF_Kcpd::save()
{
    BusyGuard busy(saveButton());
    if (!busy.acquired())
        return;
    CountHeaderInput in;
    in.warehouseSn = warehouseBox()->currentKey();
    in.handlerSn = handlerBox()->currentKey();
    in.handlerText = handlerBox()->currentText();
    in.day = documentDay();
    in.note = noteBox()->text();
    const InventorySaveResult r = m_rules.save(number(), lineCount(), in);
    if (!r.saved()) {
        reloadLines();
        return;
    }
    startNew();
}
