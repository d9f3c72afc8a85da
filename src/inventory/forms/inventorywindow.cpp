#include "inventory/forms/inventorywindow.h"

#include "foundation/datamodule.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/handoffnames.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "inventory/inventorydoc.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include <memory>

DocumentShape InventoryShape(const DocType &type, const QString &caption, const QStringList &pages,
                             const QString &dateCaption, const QList<GridColumn> &figures)
{
    DocumentShape shape;
    shape.type = type;
    shape.caption = caption;
    shape.title = pages.value(0);
    shape.entryPage = pages.value(0);
    shape.pendingPage = pages.value(1);
    shape.queryPage = pages.value(2);
    shape.dateCaption = dateCaption;
    shape.lineColumns = QList<GridColumn>{ListColumn("g_sn", "商品编号", 100), ListColumn("g_name", "商品名称", 160),
                                          ListColumn("dw_name", "单位", 50), ListColumn("gg_name", "规格型号", 90),
                                          ListColumn("color_name", "颜色", 60)}
                        + figures;
    shape.todayOnRefusedDate = true;
    shape.renumberOnDateExit = true;
    return shape;
}

InventoryWindow::InventoryWindow(const DocumentShape &shape, const ScreenContext &context, const QString &handlerTag,
                                 const QString &printClass, QWidget *parent)
    : DocumentWindow(shape, context.data->mainDb(), *context.state, *context.clock, *context.notices, parent),
      m_context(context), m_db(context.data->mainDb()), m_handlerTag(handlerTag), m_printClass(printClass)
{
    m_ctx.type = shape.type;
    m_ctx.numberChanged = [this](const QString &n) { setNumber(n); };
    m_ctx.linesChanged = [this] { reloadLines(); };

    // Printing: the button's menu and the lines popup's submenu over the print seam.
    printButton()->setObjectName(QStringLiteral("btnPrin"));
    m_printMenu = new QMenu(printButton());
    connect(m_printMenu->addAction(QStringLiteral("打印单据(&W)")), &QAction::triggered, this, [this] { printDraft(false); });
    connect(m_printMenu->addAction(QStringLiteral("预览单据(&X)")), &QAction::triggered, this, [this] { printDraft(true); });
    printButton()->setMenu(m_printMenu);
    QMenu *menu = linesMenu();
    const QList<QAction *> items = menu->actions();
    m_popupPrint = new QMenu(QStringLiteral("打印单据(&Z)"), menu);
    m_popupPrint->setObjectName(QStringLiteral("popupPrint"));
    connect(m_popupPrint->addAction(QStringLiteral("打印单据(&Y)")), &QAction::triggered, this, [this] { printDraft(false); });
    connect(m_popupPrint->addAction(QStringLiteral("预览单据(&Z)")), &QAction::triggered, this, [this] { printDraft(true); });
    menu->insertMenu(items.at(3), m_popupPrint);
    connect(menu, &QMenu::aboutToShow, this, [this] {
        m_popupPrint->menuAction()->setEnabled(lineCount() > 0 && !IsTrue(m_context.state->NoPrintBeforeSave));
    });
    printer = [this](bool) {
        std::unique_ptr<QDialog> d(m_context.registry->create(m_printClass, windowTitle(), m_context, this));
        d->exec();
    };

    // The pending and query pages come with their own work.
    for (QHBoxLayout *bar : {pendingBar(), queryBar()}) {
        auto *later = new QLabel(QStringLiteral("此功能尚未完成，将在后续版本中提供。"), this);
        later->setObjectName(bar == pendingBar() ? QStringLiteral("LabelPendingLater") : QStringLiteral("LabelQueryLater"));
        bar->insertWidget(0, later);
    }

    hooks().linesReloaded = [this] { updateLocks(); };
}

InventoryWindow::~InventoryWindow() = default;

void InventoryWindow::placeWarehouse(const QString &caption, int row, int column)
{
    QWidget *box = headerLayout()->parentWidget();
    m_warehouse = new KeyedCombo(box);
    m_warehouse->setObjectName(QStringLiteral("comCk"));
    m_warehouse->setMinimumWidth(120);
    headerLayout()->addWidget(new QLabel(caption, box), row, column);
    headerLayout()->addWidget(m_warehouse, row, column + 1);
    lockWhileLines(m_warehouse);
}

void InventoryWindow::placeHandlerAndNote(const QString &noteCaption)
{
    QWidget *bottom = bottomArea();
    auto *row = static_cast<QBoxLayout *>(bottom->layout());
    m_handler = new KeyedCombo(bottom);
    m_handler->setObjectName(QStringLiteral("comUser"));
    m_handler->setMinimumWidth(120);
    m_handlerButton = new QToolButton(bottom);
    m_handlerButton->setObjectName(QStringLiteral("btnUser"));
    m_handlerButton->setText(QStringLiteral("..."));
    m_handlerButton->setFocusPolicy(Qt::NoFocus);
    m_handlerButton->hide();
    m_note = new QLineEdit(bottom);
    m_note->setObjectName(QStringLiteral("tnote"));
    m_note->setMaxLength(100);
    InstallCharFilter(m_note, CharFilter::Standard);
    row->addWidget(new QLabel(QStringLiteral("经办人："), bottom));
    row->addWidget(m_handler);
    row->addWidget(m_handlerButton);
    row->addSpacing(16);
    row->addWidget(new QLabel(noteCaption, bottom));
    row->addWidget(m_note, 1);
    connect(m_handlerButton, &QToolButton::clicked, this, &InventoryWindow::chooseHandler);
    m_handler->installEventFilter(this);
}

void InventoryWindow::fillHandlers()
{
    FillKeyedCombo(m_handler, StockHandlers(m_db, *m_context.state), true);
}

void InventoryWindow::updateLocks()
{
    const bool free = lineCount() == 0;
    for (QWidget *w : std::as_const(m_locked))
        w->setEnabled(free);
}

DocumentContext &InventoryWindow::documentContext()
{
    m_ctx.type = shape().type;
    m_ctx.page = DocPage::Entry;
    m_ctx.number = number();
    m_ctx.day = documentDay();
    m_ctx.warehouse = m_warehouse ? m_warehouse->currentKey() : QString();
    return m_ctx;
}

int InventoryWindow::openOnContext(const QString &screenClass, const QString &caption, DocumentContext &context,
                                   const QString &tag, const QString &goods, qint64 lineId)
{
    std::unique_ptr<QDialog> dialog(m_context.registry->create(screenClass, caption, m_context, this));
    SetDocumentContext(dialog.get(), &context);
    if (!tag.isEmpty()) {
        dialog->setProperty(handoff::LineTag, tag);
        dialog->setProperty(handoff::GoodsCode, goods);
        dialog->setProperty(handoff::LineId, lineId);
    }
    return dialog->exec();
}

void InventoryWindow::chooseHandler()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_User2"), QStringLiteral("选择经办人"), m_context, this));
    dialog->setProperty(handoff::CallerTag, m_handlerTag);
    dialog->exec();
    ApplyHandlerAnswer(dialog.get(), m_handler);
}

void InventoryWindow::printDraft(bool preview)
{
    if (lineCount() == 0 || IsTrue(m_context.state->NoPrintBeforeSave) || !printer)
        return;
    printer(preview);
}

bool InventoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_handler) {
        if (event->type() == QEvent::FocusIn)
            m_handlerButton->setVisible(true);
        else if (event->type() == QEvent::FocusOut)
            m_handlerButton->setVisible(false);
    }
    return DocumentWindow::eventFilter(watched, event);
}
