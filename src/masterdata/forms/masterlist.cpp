#include "masterdata/forms/masterlist.h"

#include "masterdata/forms/listfilter.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "report/printeroutput.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/filechoice.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

KeyRow MakeKeyRow(ScreenDialog *screen, const QString &label, const QString &findCaption)
{
    KeyRow k;
    k.row = new QHBoxLayout;
    auto *text = new QLabel(label, screen);
    text->setObjectName(QStringLiteral("Label1"));
    k.key = new QLineEdit(screen);
    k.key->setObjectName(QStringLiteral("tkey"));
    InstallCharFilter(k.key, CharFilter::Standard);
    screen->keys()->addEnterOwner(k.key);
    k.find = NamedButton(screen, "btnFind", findCaption);
    k.row->addWidget(text);
    k.row->addWidget(k.key, 1);
    k.row->addWidget(k.find);
    return k;
}

QLineEdit *AddNameRow(QDialog *dialog, QBoxLayout *layout, const QString &label, int length)
{
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(label, dialog));
    auto *name = new QLineEdit(dialog);
    name->setObjectName(QStringLiteral("tname"));
    name->setMaxLength(length);
    row->addWidget(name, 1);
    layout->addLayout(row);
    return name;
}

GridColumn MasterColumn(const char *field, const char *caption, int width, ColumnKind kind, const QString &format)
{
    GridColumn c;
    c.field = QString::fromLatin1(field);
    c.caption = QString::fromUtf8(caption);
    c.width = width;
    c.kind = kind;
    c.format = format;
    return c;
}

MasterListWindow::MasterListWindow(const ScreenContext &context, const char *objectName, const QString &caption,
                                   const QString &keyLabel, const QString &note, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    resize(980, 600);
    auto *layout = new QVBoxLayout(this);
    m_toolbar = new QHBoxLayout;
    m_toolbar->addStretch();
    layout->addLayout(m_toolbar);

    const KeyRow keyRow = MakeKeyRow(this, keyLabel, QStringLiteral("查询(F2)"));
    m_key = keyRow.key;
    QPushButton *find = keyRow.find;
    m_note = new QLabel(note, this);
    m_note->setObjectName(QStringLiteral("LabelNote"));
    m_note->setStyleSheet(QStringLiteral("color: blue;"));
    m_note->setVisible(!note.isEmpty());
    keyRow.row->addWidget(m_note);
    layout->addLayout(keyRow.row);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new SqlGridModel(m_context.data->mainDb(), m_grid);
    m_model->setKeyField(QStringLiteral("id"));
    layout->addWidget(m_grid, 1);
    m_popup = new QMenu(this);

    connect(find, &QPushButton::clicked, this, [this] { searchKeyword(); });
    connect(m_key, &QLineEdit::returnPressed, this, [this] { searchKeyword(); });
    keys()->bind(Qt::Key_F2, [this] { searchKeyword(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
}

MasterListWindow::~MasterListWindow() = default;

QPushButton *MasterListWindow::addTool(const char *name, const QString &caption, std::function<void()> action)
{
    QPushButton *b = NamedButton(this, name, caption);
    m_toolbar->insertWidget(m_toolbar->count() - 1, b);
    connect(b, &QPushButton::clicked, this, [action] { action(); });
    return b;
}

QAction *MasterListWindow::addItem(const QString &text, std::function<void()> action)
{
    QAction *a = m_popup->addAction(text);
    connect(a, &QAction::triggered, this, [action] { action(); });
    return a;
}

QAction *MasterListWindow::action(const QString &text) const
{
    for (QAction *a : m_popup->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

void MasterListWindow::setColumns(const QList<GridColumn> &columns)
{
    m_model->setColumns(columns);
    m_grid->setModel(m_model);
}

void MasterListWindow::finishPopup(std::function<void(QMenu *)> beforeShow)
{
    m_grid->setPopupMenu(m_popup, std::move(beforeShow));
}

void MasterListWindow::load(const SearchCriteria &criteria)
{
    const bool sameFilter = criteria == m_criteria;
    m_criteria = criteria;
    const ListStatement s = statement();
    m_model->setStatement(s.body, s.order, s.binds);
    if (sameFilter)
        ReloadKeepingRow(m_grid);
    else
        m_grid->setFilter(ListFilter(criteria));  // reads the rows again, from the first
}

void MasterListWindow::searchKeyword()
{
    load(keywordCriteria(m_key->text()));
}

void MasterListWindow::showAll()
{
    m_key->clear();
    searchKeyword();
}

void MasterListWindow::positionOn(const QString &field, const QVariant &value)
{
    if (!value.toString().isEmpty())
        m_grid->locate(field, value);
}

bool MasterListWindow::hasRows() const { return m_grid->rowCount() > 0; }

qint64 MasterListWindow::currentId() const { return m_grid->currentValue(QStringLiteral("id")).toLongLong(); }

std::unique_ptr<QDialog> MasterListWindow::create(const QString &screenClass, const QString &caption)
{
    return std::unique_ptr<QDialog>(m_context.registry->create(screenClass, caption, m_context, this));
}

void MasterListWindow::exportRows()
{
    if (!hasRows())
        return;
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    ExportGrid(*m_grid, *m_files, *m_context.notices, this);
}

void MasterListWindow::printRows(MasterList list)
{
    if (!hasRows())
        return;
    if (!m_output) {
        m_ownOutput = std::make_unique<PrinterOutput>(*m_context.notices, this);
        m_output = m_ownOutput.get();
    }
    QVariantList binds;
    const QString sql = m_model->selectSql(&binds);
    PrintMasterList(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_output, list, sql, binds);
}
