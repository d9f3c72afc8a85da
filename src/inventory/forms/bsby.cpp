#include "inventory/forms/bsby.h"

#include "foundation/datamodule.h"
#include "foundation/defaultrecords.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "inventory/lossoverflow.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

DocumentShape LossShape()
{
    DocumentShape shape = InventoryShape(
        InventoryDocType(InventoryDoc::Loss), QStringLiteral("商品报损/报溢"),
        {QStringLiteral("报损/报溢"), QStringLiteral("报损/报溢审核"), QStringLiteral("报损/报溢查询")}, QStringLiteral("报损日期："),
        {ListColumn("dj", "单价", 80, ColumnKind::Money), ListColumn("sl", "数量", 80, ColumnKind::Quantity),
         ListColumn("zje", "总金额", 100, ColumnKind::Money), ListColumn("dnote", "备注", 140),
         HiddenColumn("id", ColumnKind::Integer, 40), HiddenColumn("g_jm"), HiddenColumn("a_name")});
    shape.title = QStringLiteral("商品报损/报溢");
    shape.barcodePanel = false;
    return shape;
}

} // namespace

TF_Bsby::TF_Bsby(const ScreenContext &context, QWidget *parent)
    : InventoryWindow(LossShape(), context, QStringLiteral("bsby"), QStringLiteral("TF_Bsby_Print"), parent)
{
    setObjectName(QStringLiteral("TF_Bsby"));
    QWidget *box = headerLayout()->parentWidget();
    m_type = new QComboBox(box);
    m_type->setObjectName(QStringLiteral("comDjlx"));
    m_type->addItems({QStringLiteral("商品报损"), QStringLiteral("商品报溢")});
    m_type->setCurrentIndex(-1);
    headerLayout()->addWidget(new QLabel(QStringLiteral("单据类型："), box), 1, 0);
    headerLayout()->addWidget(m_type, 1, 1);
    placeWarehouse(QStringLiteral("仓库名称："), 1, 2);
    lockWhileLines(m_type);
    placeHandlerAndNote(QStringLiteral("备         注："));
    m_dateLabel = box->findChild<QLabel *>(QStringLiteral("LabelRq"));
    connect(m_type, &QComboBox::currentIndexChanged, this, &TF_Bsby::onTypeChosen);

    DocumentHooks &h = hooks();
    h.opening = [this] { opening(); };
    h.started = [this] { startDocument(); };
    h.linesStatement = [this](const QString &n) {
        return LossOverflowRules(m_db, *m_context.state, *m_context.clock, *m_context.notices).linesStatement(doc(), n);
    };
    h.add = [this] { addGoods(); };
    h.modify = [this](const QVariant &) { modifyLine(); };
    h.remove = [this](const QVariant &) { deleteLine(); };
    h.save = [this] { save(); };
    h.discard = [this] { DiscardDraft(m_db, *m_context.state, *m_context.notices, doc(), number()); };
    h.refreshPending = [] {};
    h.runQuery = [] {};
    connect(this, &ScreenDialog::opened, this, &TF_Bsby::afterOpening);
    resize(960, 620);
}

TF_Bsby::~TF_Bsby() = default;

InventoryDoc TF_Bsby::doc() const
{
    return m_type->currentIndex() == 1 ? InventoryDoc::Overflow : InventoryDoc::Loss;
}

bool TF_Bsby::typeChosen() const
{
    return m_type->currentIndex() >= 0;
}

void TF_Bsby::opening()
{
    saveButton()->setEnabled(true);
    fillHandlers();
    {
        // No type chosen at each showing: a loss number and loss lines until one is.
        const QSignalBlocker block(m_type);
        m_type->setCurrentIndex(-1);
    }
    setDocType(InventoryDocType(InventoryDoc::Loss));
    FillKeyedCombo(warehouseBox(), InventoryWarehouses(m_db, *m_context.state));
}

void TF_Bsby::startDocument()
{
    showType();
    if (m_switching)
        return;
    noteBox()->clear();
    KeyedCombo *warehouse = warehouseBox();
    if (!warehouse->selectText(GetDefaultWarehouseName(m_db)) && warehouse->count() > 0)
        warehouse->setCurrentIndex(0);
    updateLocks();
}

void TF_Bsby::showType()
{
    if (!typeChosen())
        return;
    const bool loss = doc() == InventoryDoc::Loss;
    titleLabel()->setText(loss ? QStringLiteral("商品报损") : QStringLiteral("商品报溢"));
    if (m_dateLabel)
        m_dateLabel->setText(loss ? QStringLiteral("报损日期：") : QStringLiteral("报溢日期："));
}

void TF_Bsby::onTypeChosen(int index)
{
    if (index < 0)
        return;
    // Title, date label, today and a number of the type with its lines; the warehouse and the
    // note stay.
    setDocType(InventoryDocType(doc()));
    m_switching = true;
    startNew();
    m_switching = false;
    updateLocks();
}

void TF_Bsby::afterOpening()
{
    applyRights();
}

void TF_Bsby::applyRights()
{
    const LoginState &state = *m_context.state;
    setEntryAllowed(HasRight(m_db, state, QStringLiteral("kcgl"), 8));
    setPrintBeforeSave(!IsTrue(state.NoPrintBeforeSave));
    DataGrid *g = linesGrid();
    g->setColumnGated(QStringLiteral("dj"), !state.RightShowCost);
    g->setColumnGated(QStringLiteral("zje"), !state.RightShowCost);
    g->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
    SetMoneyColumnFormat(*g, QStringLiteral("dj"), state);
    SetMoneyColumnFormat(*g, QStringLiteral("zje"), state);
    SetMoneyFooterFormat(*g, QStringLiteral("zje"), state);
    SetQtyColumnFormat(*g, QStringLiteral("sl"), state);
    SetQtyFooterFormat(*g, QStringLiteral("sl"), state);
}

void TF_Bsby::addGoods()
{
    if (!typeChosen()) {
        m_context.notices->notice(QStringLiteral("请选择单据类型！"));
        m_type->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (warehouseBox()->count() == 0) {
        m_context.notices->notice(QStringLiteral("请添加仓库信息！"));
        return;
    }
    openOnContext(QStringLiteral("TF_Bsby_Add"),
                  doc() == InventoryDoc::Loss ? QStringLiteral("增加商品(商品报损)") : QStringLiteral("增加商品(商品报溢)"),
                  documentContext());
    reloadLines();
}

void TF_Bsby::modifyLine()
{
    if (lineCount() == 0)
        return;
    openOnContext(QStringLiteral("TF_Bsby_Sele"),
                  doc() == InventoryDoc::Loss ? QStringLiteral("商品信息(商品报损)") : QStringLiteral("商品信息(商品报溢)"),
                  documentContext(), InventoryLineModeTag(doc(), InventoryLineMode::Draft),
                  linesGrid()->currentValue(QStringLiteral("g_sn")).toString(),
                  linesGrid()->currentValue(QStringLiteral("id")).toLongLong());
    reloadLines();
}

void TF_Bsby::deleteLine()
{
    if (lineCount() == 0 || !m_context.notices->confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
        return;
    RemoveDraftLine(m_db, *m_context.state, *m_context.notices, doc(),
                    linesGrid()->currentValue(QStringLiteral("id")).toLongLong());
}

void TF_Bsby::save()
{
    BusyGuard busy(saveButton());
    if (!busy.acquired())
        return;
    LossHeaderInput in;
    in.warehouseSn = warehouseBox()->currentKey();
    in.handlerSn = handlerBox()->currentKey();
    in.handlerText = handlerBox()->currentText();
    in.day = documentDay();
    in.note = noteBox()->text();
    const InventorySaveResult r = LossOverflowRules(m_db, *m_context.state, *m_context.clock, *m_context.notices)
                                      .save(doc(), number(), lineCount(), in);
    if (!r.saved()) {
        reloadLines();
        return;
    }
    startNew();
}
