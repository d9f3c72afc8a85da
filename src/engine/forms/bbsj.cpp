#include "engine/forms/bbsj.h"

#include "engine/forms/reportdesign.h"
#include "foundation/db/dberror.h"
#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TF_Bbsj::TF_Bbsj(const QSqlDatabase &db, const Clock &clock, Notices &notices, int uiFontSize,
                 const QString &templateFolder, QWidget *parent)
    : ScreenDialog(uiFontSize, parent), m_db(db), m_clock(clock), m_notices(notices), m_folder(templateFolder),
      m_fontSize(uiFontSize)
{
    setObjectName(QStringLiteral("TF_Bbsj"));
    setWindowTitle(QStringLiteral("报表设计"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(760, 540);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("报表分类："), this));
    m_filter = new KeyedCombo(this);
    m_filter->setObjectName(QStringLiteral("cmb_Lx"));
    m_filter->addKeyed(QStringLiteral("所有类型"), QStringLiteral("-1"));
    for (const ReportCategory &c : ReportCategories())
        m_filter->addKeyed(c.caption, QString::number(c.code));
    top->addWidget(m_filter);
    top->addStretch();
    layout->addLayout(top);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("grid_Bbgl"));
    m_model = new SqlGridModel(m_db);
    m_model->setKeyField(QStringLiteral("id"));
    {
        GridColumn id{QStringLiteral("id"), QStringLiteral("ID"), 40, ColumnKind::Integer};
        id.visible = false;
        GridColumn sn{QStringLiteral("b_sn"), QStringLiteral("编号"), 80};
        GridColumn name{QStringLiteral("b_name"), QStringLiteral("报表名称"), 220};
        GridColumn file{QStringLiteral("b_file"), QStringLiteral("报表文件名称"), 150};
        GridColumn kind{QStringLiteral("b_lxmc"), QStringLiteral("报表分类"), 90};
        GridColumn code{QStringLiteral("b_lx"), QStringLiteral("分类号"), 40, ColumnKind::Integer};
        code.visible = false;
        m_model->setColumns({id, sn, name, file, kind, code});
    }
    m_grid->setModel(m_model);
    m_grid->setFooter(QStringLiteral("b_sn"), FooterKind::TextCount, QStringLiteral("记录数："));
    layout->addWidget(m_grid, 1);

    // The editor panel.
    m_panel = new QGroupBox(this);
    m_panel->setObjectName(QStringLiteral("panel_Edit"));
    auto *form = new QGridLayout(m_panel);
    form->addWidget(new QLabel(QStringLiteral("报表名称："), m_panel), 0, 0);
    m_name = new QLineEdit(m_panel);
    m_name->setObjectName(QStringLiteral("edt_Name"));
    m_name->setMaxLength(32);
    form->addWidget(m_name, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("报表文件名："), m_panel), 0, 2);
    m_file = new QLineEdit(m_panel);
    m_file->setObjectName(QStringLiteral("edt_File"));
    m_file->setMaxLength(32);
    form->addWidget(m_file, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("报表类型："), m_panel), 1, 0);
    m_type = new KeyedCombo(m_panel);
    m_type->setObjectName(QStringLiteral("cmb_Type"));
    for (const ReportCategory &c : ReportCategories())
        m_type->addKeyed(c.caption, QString::number(c.code));
    form->addWidget(m_type, 1, 1);
    auto *okButton = MakeButton(m_panel, "btn_Ok", QStringLiteral("确定"));
    auto *cancelButton = MakeButton(m_panel, "btn_Cancel", QStringLiteral("取消"));
    auto *panelButtons = new QHBoxLayout;
    panelButtons->addStretch();
    panelButtons->addWidget(okButton);
    panelButtons->addWidget(cancelButton);
    form->addLayout(panelButtons, 1, 2, 1, 2);
    m_panel->hide();
    layout->addWidget(m_panel);

    auto *buttons = new QHBoxLayout;
    auto *addButton = MakeButton(this, "btn_Add", QStringLiteral("增加"));
    auto *modiButton = MakeButton(this, "btn_Modi", QStringLiteral("修改"));
    auto *delButton = MakeButton(this, "btn_Del", QStringLiteral("删除"));
    auto *readButton = MakeButton(this, "btn_Read", QStringLiteral("读取报表信息"));
    auto *designButton = MakeButton(this, "btn_Design", QStringLiteral("设计报表"));
    for (QPushButton *b : {addButton, modiButton, delButton})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(readButton);
    buttons->addWidget(designButton);
    layout->addLayout(buttons);

    openDesigner = [this](const QString &file) {
        TF_ReportDesign designer(file, m_notices, m_fontSize, m_folder, this);
        designer.exec();
    };

    connect(m_filter, &QComboBox::currentIndexChanged, this, &TF_Bbsj::applyFilter);
    connect(addButton, &QPushButton::clicked, this, [this] { openEditor(CatalogEditMode::Add); });
    connect(modiButton, &QPushButton::clicked, this, [this] { openEditor(CatalogEditMode::Modify); });
    connect(delButton, &QPushButton::clicked, this, &TF_Bbsj::deleteCurrent);
    connect(readButton, &QPushButton::clicked, this, &TF_Bbsj::restoreDefaults);
    connect(designButton, &QPushButton::clicked, this, &TF_Bbsj::designCurrent);
    connect(m_grid, &DataGrid::rowActivated, this, [this] { designCurrent(); });
    connect(okButton, &QPushButton::clicked, this, &TF_Bbsj::confirmEditor);
    connect(cancelButton, &QPushButton::clicked, this, &TF_Bbsj::cancelEditor);
    keys()->bind(Qt::Key_Escape, [this] { reject(); });

    applyFilter();
}

void TF_Bbsj::applyFilter()
{
    QVariantList binds;
    const QString key = m_filter->currentKey();
    const QString sql = ReportCatalogSql(key.isEmpty() ? -1 : key.toInt(), &binds);
    m_model->setStatement(sql, ReportCatalogOrder(), binds);
    m_grid->reload(ReloadTarget::First);
}

void TF_Bbsj::openEditor(CatalogEditMode mode)
{
    if (mode == CatalogEditMode::Modify) {
        const int row = m_grid->currentRow();
        if (m_grid->rowCount() == 0 || row < 0)
            return;
        m_editId = m_grid->value(row, QStringLiteral("id"));
        m_name->setText(m_grid->value(row, QStringLiteral("b_name")).toString());
        m_file->setText(m_grid->value(row, QStringLiteral("b_file")).toString());
        m_type->selectKey(QString::number(m_grid->value(row, QStringLiteral("b_lx")).toInt()));
        m_panel->setTitle(QStringLiteral("修改报表"));
    } else {
        m_editId = QVariant();
        m_name->clear();
        m_file->clear();
        m_type->setCurrentIndex(0);
        m_panel->setTitle(QStringLiteral("增加报表"));
    }
    m_mode = mode;
    m_panel->show();
    m_name->setFocus();
}

void TF_Bbsj::confirmEditor()
{
    if (m_panel->isHidden())
        return;
    CatalogEntry entry;
    entry.name = m_name->text();
    entry.file = m_file->text();
    entry.category = m_type->currentKey().toInt();
    CatalogSaveResult result;
    try {
        result = SaveCatalogEntry(m_db, m_mode, m_editId, entry);
    } catch (const DbError &e) {
        m_notices.notice(e.text());
        return;
    }
    if (!result.refusal.isEmpty()) {
        m_notices.notice(result.refusal);
        if (result.refusal == QStringLiteral("请输入报表名称！"))
            m_name->setFocus();
        else
            m_file->setFocus();
        return;
    }
    m_panel->hide();
    m_grid->reload(ReloadTarget::KeepKey);
    m_grid->locate(QStringLiteral("id"), result.id);
    m_grid->view()->setFocus();
}

void TF_Bbsj::cancelEditor()
{
    m_panel->hide();
    m_grid->view()->setFocus();
}

void TF_Bbsj::deleteCurrent()
{
    const int row = m_grid->currentRow();
    if (m_grid->rowCount() == 0 || row < 0)
        return;
    if (!m_notices.confirm(QStringLiteral("您确定要删除当前报表吗？")))
        return;
    try {
        DeleteCatalogEntry(m_db, m_grid->value(row, QStringLiteral("id")));
    } catch (const DbError &e) {
        m_notices.notice(e.text());
        return;
    }
    m_grid->reload(ReloadTarget::KeepKey);
}

void TF_Bbsj::restoreDefaults()
{
    if (!m_notices.confirm(QStringLiteral("您确定要读取默认报表吗？")))
        return;
    try {
        RestoreDefaultCatalog(m_db, m_clock);
    } catch (const DbError &e) {
        m_notices.notice(e.text());
        return;
    }
    m_panel->hide();
    m_grid->reload(ReloadTarget::First);
}

void TF_Bbsj::designCurrent()
{
    const int row = m_grid->currentRow();
    if (m_grid->rowCount() == 0 || row < 0)
        return;
    const QString file = m_grid->value(row, QStringLiteral("b_file")).toString().trimmed();
    if (!IsPlainTemplateName(file) || file.isEmpty()) {
        m_notices.notice(QStringLiteral("报表文件名不能包含路径！"));
        return;
    }
    if (openDesigner)
        openDesigner(file);
}
