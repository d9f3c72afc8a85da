#include "purchasing/forms/cgth_zdth_search.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/forms/combofill.h"
#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "masterdata/goodsclassrules.h"
#include "purchasing/forms/cgth_zdth_search_ghssele.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace {

inline constexpr const char *SearchFrom = "searchFrom";
inline constexpr const char *SearchTo = "searchTo";
inline constexpr const char *SearchSupplier = "searchSupplier";
inline constexpr const char *SearchWarehouse = "searchWarehouse";
inline constexpr const char *SearchOperator = "searchOperator";
inline constexpr const char *SearchClass = "searchClass";

} // namespace

std::optional<DocSearchCriteria> SearchCriteriaOf(const QDialog *dialog)
{
    if (!dialog->property(SearchFrom).isValid())
        return std::nullopt;
    DocSearchCriteria c;
    c.from = dialog->property(SearchFrom).toString();
    c.to = dialog->property(SearchTo).toString();
    c.supplier = dialog->property(SearchSupplier).toString();
    c.warehouse = dialog->property(SearchWarehouse).toString();
    c.operatorText = dialog->property(SearchOperator).toString();
    c.classCode = dialog->property(SearchClass).toString();
    return c;
}

TF_Cgth_Zdth_Search::TF_Cgth_Zdth_Search(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Cgth_Zdth_Search"));
    setWindowTitle(QStringLiteral("高级查询"));
    m_supplier = WithName(new QLineEdit(this), "tghs");
    m_supplier->setMaxLength(64);
    InstallCharFilter(m_supplier, CharFilter::Standard);
    auto *supplierButton = WithName(new QToolButton(this), "btnGhs");
    supplierButton->setText(QStringLiteral("..."));
    supplierButton->setFocusPolicy(Qt::NoFocus);
    m_from = WithName(new DateEdit(this), "tdate1");
    m_to = WithName(new DateEdit(this), "tdate2");
    m_warehouse = WithName(new KeyedCombo(this), "comCk");
    m_operator = WithName(new KeyedCombo(this), "comAdmin");
    m_class = WithName(new QLineEdit(this), "tsplb");
    InstallCharFilter(m_class, CharFilter::Standard);
    m_class->installEventFilter(this);

    auto *grid = new QGridLayout;
    auto *supplierRow = new QHBoxLayout;
    supplierRow->addWidget(m_supplier, 1);
    supplierRow->addWidget(supplierButton);
    grid->addWidget(new QLabel(QStringLiteral("供  货  商："), this), 0, 0);
    grid->addLayout(supplierRow, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("开单日期："), this), 1, 0);
    grid->addWidget(m_from, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("至："), this), 1, 2);
    grid->addWidget(m_to, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("仓库名称："), this), 2, 0);
    grid->addWidget(m_warehouse, 2, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("操  作  员："), this), 3, 0);
    grid->addWidget(m_operator, 3, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("商品类别："), this), 4, 0);
    grid->addWidget(m_class, 4, 1, 1, 3);

    // The class panel.
    m_classPanel = WithName(new QFrame(this), "RzPanel_GClass");
    m_classPanel->setFrameShape(QFrame::Box);
    m_tree = WithName(new KeyTree(m_classPanel), "treeClass");
    auto *ok2 = WithName(new QPushButton(QStringLiteral("确定"), m_classPanel), "btnOk2");
    auto *exit2 = WithName(new QPushButton(QStringLiteral("退出"), m_classPanel), "btnExit2");
    ok2->setAutoDefault(false);
    exit2->setAutoDefault(false);
    auto *panelButtons = new QHBoxLayout;
    panelButtons->addStretch(1);
    panelButtons->addWidget(ok2);
    panelButtons->addWidget(exit2);
    auto *panelLayout = new QVBoxLayout(m_classPanel);
    panelLayout->addWidget(m_tree, 1);
    panelLayout->addLayout(panelButtons);
    m_classPanel->hide();

    auto *v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(m_classPanel, 1);
    v->addLayout(AddConfirmButtons(this, QStringLiteral("查询(F5)"), "btnCancel", QStringLiteral("退出(Esc)"),
                                   [this] { runSearch(); }).row);
    connect(supplierButton, &QToolButton::clicked, this, &TF_Cgth_Zdth_Search::chooseSupplier);
    connect(ok2, &QPushButton::clicked, this, &TF_Cgth_Zdth_Search::takeClass);
    connect(exit2, &QPushButton::clicked, m_classPanel, &QWidget::hide);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] { takeClass(); });
    connect(this, &ScreenDialog::opened, this, &TF_Cgth_Zdth_Search::activate);
    resize(420, 260);
}

bool TF_Cgth_Zdth_Search::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_class && event->type() == QEvent::MouseButtonPress)
        showClasses();
    return ScreenDialog::eventFilter(watched, event);
}

void TF_Cgth_Zdth_Search::activate()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const LoginState &state = *m_context.state;
    const QDate today = m_context.clock->today();
    m_from->setDate(QDate(today.year(), today.month(), 1).addMonths(-1));
    m_to->setDate(today);
    const bool bound = state.BindOperatorWarehouse == QLatin1String("1") && !state.isAdministrator();
    FillKeyedCombo(m_warehouse,
                   bound ? LoadOperatorWarehouses(db, state)
                         : LoadKeyedCombo(db, QStringLiteral("jxc_ckxx"), QStringLiteral("ck_name"), QStringLiteral("ck_sn"),
                                          QStringLiteral("id"), QStringLiteral("所有仓库")),
                   true);
    FillKeyedCombo(m_operator,
                   LoadKeyedCombo(db, QStringLiteral("jxc_admin"), QStringLiteral("a_name"), QStringLiteral("a_sn"),
                                  QStringLiteral("id"), QStringLiteral("所有操作员")),
                   true);
    QList<TreeRow> rows;
    for (const GoodsClassRow &r : LoadGoodsClasses(db))
        rows << TreeRow{QString::number(r.key), QString::number(r.parent), r.name, {{QStringLiteral("gc_sn"), r.sn}}};
    m_tree->setRows(rows);
    m_tree->selectRoot();
    m_tree->expandAll();
    m_class->clear();
    m_classCode.clear();
    m_supplier->clear();
    m_supplier->setFocus(Qt::OtherFocusReason);
    for (const char *p : {"searchFrom", "searchTo", "searchSupplier", "searchWarehouse", "searchOperator", "searchClass"})
        setProperty(p, QVariant());
}

void TF_Cgth_Zdth_Search::runSearch()
{
    setProperty(SearchFrom, m_from->date().toString(QStringLiteral("yyyy-MM-dd")));
    setProperty(SearchTo, m_to->date().toString(QStringLiteral("yyyy-MM-dd")));
    setProperty(SearchSupplier, m_supplier->text());
    setProperty(SearchWarehouse, m_warehouse->currentKey());
    setProperty(SearchOperator, m_operator->currentText());
    setProperty(SearchClass, m_classCode);
    accept();
}

void TF_Cgth_Zdth_Search::chooseSupplier()
{
    std::unique_ptr<QDialog> chooser(m_context.registry->create(QStringLiteral("TF_Cgth_Zdth_Search_GhsSele"),
                                                                QStringLiteral("选择供货商"), m_context, this));
    // 80 px left of and 45 px below the dialog's client origin.
    chooser->move(mapToGlobal(QPoint(-80, 45)));
    if (chooser->exec() == QDialog::Accepted)
        m_supplier->setText(chooser->property(handoff::SupplierName).toString());
}

void TF_Cgth_Zdth_Search::showClasses()
{
    m_classPanel->show();
    m_tree->setFocus(Qt::OtherFocusReason);
}

void TF_Cgth_Zdth_Search::takeClass()
{
    if (!m_tree->currentItem())
        return;
    m_class->setText(m_tree->currentItem()->text(0));
    m_classCode = m_tree->currentPayload(QStringLiteral("gc_sn")).toString();
    m_classPanel->hide();
}
