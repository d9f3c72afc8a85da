#include "masterdata/forms/dwgl.h"

#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/goodslistquery.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/datagrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_LookupList::TF_LookupList(LookupKind kind, const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context), m_kind(kind)
{
    const LookupMember &m = LookupMemberOf(kind);
    setObjectName(QString::fromLatin1(m.listClass));
    setWindowTitle(QString::fromUtf8(m.listCaption));
    resize(360, 420);
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    auto button = [&](const char *name, const char *text) {
        auto *b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        bar->addWidget(b);
        return b;
    };
    QPushButton *add = button("btnAdd", "增加");
    QPushButton *del = button("btnDelete", "删除");
    QPushButton *ok = button("btnOk", "确定");
    QPushButton *quit = button("btnExit", "退出");
    bar->addStretch();
    layout->addLayout(bar);
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new SqlGridModel(m_context.data->mainDb(), m_grid);
    GridColumn code;
    code.field = QString::fromLatin1(m.codeColumn);
    code.caption = QString::fromUtf8(m.codeCaption);
    code.width = 90;
    GridColumn name;
    name.field = QString::fromLatin1(m.nameColumn);
    name.caption = QString::fromUtf8(m.nameCaption);
    name.width = 180;
    GridColumn id;
    id.field = QStringLiteral("id");
    id.kind = ColumnKind::Integer;
    id.visible = false;
    m_model->setColumns({code, name, id});
    m_grid->setModel(m_model);
    layout->addWidget(m_grid, 1);
    keys()->bind(Qt::Key_F5, [this] { confirm(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(add, &QPushButton::clicked, this, &TF_LookupList::addRow);
    connect(del, &QPushButton::clicked, this, &TF_LookupList::deleteRow);
    connect(ok, &QPushButton::clicked, this, &TF_LookupList::confirm);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &DataGrid::rowActivated, this, &TF_LookupList::confirm);
    connect(this, &ScreenDialog::opened, this, &TF_LookupList::activate);
}

void TF_LookupList::activate()
{
    LookupListRules rules(m_context.data->mainDb(), *m_context.notices, m_kind);
    const ListStatement s = rules.listStatement();
    m_model->setStatement(s.body, s.order, s.binds);
    m_grid->reload(ReloadTarget::First);
}

void TF_LookupList::refillCaller(bool selectNewest)
{
    auto *combo = qobject_cast<QComboBox *>(property(handoff::CallerCombo).value<QObject *>());
    if (!combo)
        return;
    LookupListRules rules(m_context.data->mainDb(), *m_context.notices, m_kind);
    combo->clear();
    combo->addItems(rules.comboItems());
    const QString name = m_grid->rowCount() == 0
                             ? QString()
                             : (selectNewest ? m_grid->value(0, QString::fromLatin1(LookupMemberOf(m_kind).nameColumn))
                                             : m_grid->currentValue(QString::fromLatin1(LookupMemberOf(m_kind).nameColumn)))
                                   .toString();
    const int index = name.isEmpty() ? -1 : combo->findText(name);
    combo->setCurrentIndex(index);
    if (index < 0 && combo->isEditable())
        combo->setEditText(QString());
}

void TF_LookupList::addRow()
{
    std::unique_ptr<QDialog> d(m_context.registry->create(QString::fromLatin1(LookupMemberOf(m_kind).addClass),
                                                          QString::fromUtf8(LookupMemberOf(m_kind).addCaption),
                                                          m_context, this));
    if (d->exec() != QDialog::Accepted)
        return;
    activate();
    if (m_kind == LookupKind::Shelf) {
        m_grid->goLast();
        return;
    }
    m_grid->goFirst();
    if (property(handoff::RefillOnSave).toBool())
        refillCaller(true);
}

void TF_LookupList::deleteRow()
{
    if (m_grid->rowCount() == 0)
        return;
    LookupListRules rules(m_context.data->mainDb(), *m_context.notices, m_kind);
    if (!rules.remove(m_grid->currentValue(QStringLiteral("id")).toLongLong()))
        return;
    activate();
    refillCaller(false);
}

void TF_LookupList::confirm()
{
    refillCaller(false);
    accept();
}

// ---------------------------------------------------------------------------------------------

void OpenLookupList(const ScreenContext &context, QWidget *parent, const QString &listClass, QComboBox *combo,
                    bool refillOnSave)
{
    QString caption = listClass;
    for (LookupKind k : LookupKinds())
        if (listClass == QLatin1String(LookupMemberOf(k).listClass))
            caption = QString::fromUtf8(LookupMemberOf(k).listCaption);
    std::unique_ptr<QDialog> d(context.registry->create(listClass, caption, context, parent));
    d->setProperty(handoff::CallerCombo, QVariant::fromValue<QObject *>(combo));
    d->setProperty(handoff::RefillOnSave, refillOnSave);
    d->exec();
}
