#include "inventory/forms/kcdb.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/defaultrecords.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "inventory/inventorydoc.h"
#include "inventory/transfersave.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/filechoice.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include <memory>

namespace {

DocumentShape TransferShape()
{
    DocumentShape shape = InventoryShape(
        InventoryDocType(InventoryDoc::Transfer), QStringLiteral("库存调拨"),
        {QStringLiteral("库存调拨单"), QStringLiteral("待审核调拨单"), QStringLiteral("库存调拨查询")}, QStringLiteral("调拨日期："),
        {ListColumn("db_dj", "单价", 80, ColumnKind::Money), ListColumn("db_sj", "售价", 80, ColumnKind::Money),
         ListColumn("db_sl", "数量", 80, ColumnKind::Quantity), ListColumn("db_zje", "总金额", 100, ColumnKind::Money),
         HiddenColumn("id", ColumnKind::Integer, 40), HiddenColumn("g_jm"), HiddenColumn("db_zsl", ColumnKind::Quantity),
         HiddenColumn("g_sptm"), HiddenColumn("a_name")});
    shape.barcodeToggleKey = QLatin1Char('T');
    return shape;
}

} // namespace

TF_Kcdb::TF_Kcdb(const ScreenContext &context, QWidget *parent)
    : InventoryWindow(TransferShape(), context, QStringLiteral("kcdb"), QStringLiteral("TF_Kcdb_Print"), parent),
      m_entry(context.data->mainDb(), *context.state, *context.clock, *context.notices)
{
    setObjectName(QStringLiteral("TF_Kcdb"));
    placeWarehouse(QStringLiteral("调出仓库："), 1, 0);
    QWidget *box = headerLayout()->parentWidget();
    m_inWarehouse = new KeyedCombo(box);
    m_inWarehouse->setObjectName(QStringLiteral("comCk2"));
    m_inWarehouse->setMinimumWidth(120);
    headerLayout()->addWidget(new QLabel(QStringLiteral("调入仓库："), box), 1, 2);
    headerLayout()->addWidget(m_inWarehouse, 1, 3);
    placeHandlerAndNote(QStringLiteral("备注："));

    // The import and export button stays hidden, as the window has always had it.
    auto *row = static_cast<QHBoxLayout *>(buttonGroup()->layout());
    m_inOut = new QToolButton(buttonGroup());
    m_inOut->setObjectName(QStringLiteral("btnInOut"));
    m_inOut->setText(QStringLiteral("导入、导出"));
    m_inOut->setPopupMode(QToolButton::InstantPopup);
    auto *inOut = new QMenu(m_inOut);
    connect(inOut->addAction(QStringLiteral("从Excel导入库存调拨单(&E)")), &QAction::triggered, this, [this] {
        openOnContext(QStringLiteral("TF_Kcdb_Import"), QStringLiteral("库存调拨单导入"), documentContext());
        reloadLines();
    });
    connect(inOut->addAction(QStringLiteral("导出库存调拨单到Excel(&X)")), &QAction::triggered, this, &TF_Kcdb::exportExcel);
    m_inOut->setMenu(inOut);
    row->insertWidget(1, m_inOut);
    m_inOut->hide();

    DataGrid *lines = linesGrid();
    lines->setFooter(QStringLiteral("db_sl"), FooterKind::Sum);
    lines->setFooter(QStringLiteral("db_zje"), FooterKind::Sum);

    DocumentHooks &h = hooks();
    h.opening = [this] { opening(); };
    h.started = [this] { startDocument(); };
    h.linesStatement = [this](const QString &n) { return m_entry.linesStatement(n); };
    h.add = [this] { addGoods(); };
    h.modify = [this](const QVariant &) { modifyLine(); };
    h.remove = [this](const QVariant &) { deleteLine(); };
    h.save = [this] { save(); };
    h.discard = [this] { m_entry.discard(number()); };
    h.barcode = [this](const QString &code) { onScanned(code); };
    h.refreshPending = [] {};
    h.runQuery = [] {};
    connect(this, &ScreenDialog::opened, this, &TF_Kcdb::afterOpening);
    resize(960, 620);
}

TF_Kcdb::~TF_Kcdb() = default;

void TF_Kcdb::opening()
{
    saveButton()->setEnabled(true);
    fillHandlers();
    FillKeyedCombo(warehouseBox(), InventoryWarehouses(m_db, *m_context.state));
    FillKeyedCombo(m_inWarehouse, AllWarehouses(m_db));
    m_inWarehouse->setCurrentIndex(m_inWarehouse->count() > 1 ? 1 : m_inWarehouse->count() - 1);
}

void TF_Kcdb::startDocument()
{
    noteBox()->clear();
    KeyedCombo *out = warehouseBox();
    if (!out->selectText(GetDefaultWarehouseName(m_db)) && out->count() > 0)
        out->setCurrentIndex(0);
    updateLocks();
}

void TF_Kcdb::afterOpening()
{
    applyRights();
    if (m_entryRight) {
        setBarcodePanelShown(true);
        barcodePanel()->entryBox()->setFocus(Qt::OtherFocusReason);
    } else {
        setBarcodePanelShown(false);
    }
}

void TF_Kcdb::applyRights()
{
    const LoginState &state = *m_context.state;
    m_entryRight = HasRight(m_db, state, QStringLiteral("kcgl"), 2);
    setEntryAllowed(m_entryRight);
    setPrintBeforeSave(!IsTrue(state.NoPrintBeforeSave));
    barcodePanel()->setEnabled(m_entryRight);
    for (QAction *a : linesMenu()->actions())
        if (a->objectName() == QLatin1String("barcodeToggle"))
            a->setEnabled(m_entryRight);
    const TransferPriceColumns prices = TransferPriceColumnsOf(state);
    DataGrid *g = linesGrid();
    g->setColumnGated(QStringLiteral("db_dj"), !prices.cost);
    g->setColumnGated(QStringLiteral("db_sj"), !prices.sale);
    g->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
    for (const char *f : {"db_dj", "db_sj", "db_zje"})
        SetMoneyColumnFormat(*g, QString::fromLatin1(f), state);
    SetMoneyFooterFormat(*g, QStringLiteral("db_zje"), state);
    SetQtyColumnFormat(*g, QStringLiteral("db_sl"), state);
    SetQtyFooterFormat(*g, QStringLiteral("db_sl"), state);
}

void TF_Kcdb::onScanned(const QString &code)
{
    const InventoryResult r = m_entry.scan(documentContext(), code, barcodePanel()->refusesRepeats());
    if (!r.done())
        return;
    linesGrid()->locate(QStringLiteral("id"), r.lineId);
    if (barcodePanel()->opensEditorAfterAdd())
        modifyLine();
}

void TF_Kcdb::addGoods()
{
    if (warehouseBox()->count() == 0) {
        m_context.notices->notice(QStringLiteral("请添加仓库信息！"));
        return;
    }
    if (openOnContext(QStringLiteral("TF_Kcdb_Add"), QStringLiteral("增加商品(库存调拨)"), documentContext())
        == QDialog::Accepted)
        handlerBox()->setFocus(Qt::OtherFocusReason);
    reloadLines();
}

void TF_Kcdb::modifyLine()
{
    if (lineCount() == 0)
        return;
    openOnContext(QStringLiteral("TF_Kcdb_Sele"), QStringLiteral("商品信息(库存调拨)"), documentContext(),
                  InventoryLineModeTag(InventoryDoc::Transfer, InventoryLineMode::Draft),
                  linesGrid()->currentValue(QStringLiteral("g_sn")).toString(),
                  linesGrid()->currentValue(QStringLiteral("id")).toLongLong());
    reloadLines();
}

void TF_Kcdb::deleteLine()
{
    if (lineCount() == 0 || !m_context.notices->confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
        return;
    m_entry.removeLine(linesGrid()->currentValue(QStringLiteral("id")).toLongLong());
}

void TF_Kcdb::save()
{
    BusyGuard busy(saveButton());
    if (!busy.acquired())
        return;
    TransferHeaderInput in;
    in.outSn = warehouseBox()->currentKey();
    in.outName = warehouseBox()->currentText();
    in.inSn = m_inWarehouse->currentKey();
    in.inName = m_inWarehouse->currentText();
    in.handlerSn = handlerBox()->currentKey();
    in.handlerText = handlerBox()->currentText();
    in.day = documentDay();
    in.note = noteBox()->text();
    const InventorySaveResult r =
        TransferSave(m_db, *m_context.state, *m_context.clock, *m_context.notices).save(number(), lineCount(), in);
    if (!r.saved()) {
        reloadLines();
        return;
    }
    startNew();
}

void TF_Kcdb::exportExcel()
{
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    ExportGrid(*linesGrid(), *m_files, *m_context.notices, this);
}
