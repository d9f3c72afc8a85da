#include "foundation/forms/djbz.h"

#include "foundation/db/dberror.h"
#include "foundation/forms/djbz_add.h"
#include "foundation/loginstate.h"
#include "foundation/notepresets.h"
#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TF_Djbz::TF_Djbz(const QSqlDatabase &db, const LoginState &state, Notices &notices, const QString &callerTag,
                 QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_state(state), m_notices(notices), m_tag(callerTag)
{
    setObjectName(QStringLiteral("TF_Djbz"));
    setWindowTitle(QStringLiteral("单据备注信息设置"));
    resize(520, 400);

    btnAdd = NamedButton(this, "btnAdd", QStringLiteral("新增"));
    btnModi = NamedButton(this, "btnModi", QStringLiteral("修改"));
    btnDel = NamedButton(this, "btnDel", QStringLiteral("删除"));
    btnOK = NamedButton(this, "btnOK", QStringLiteral("确定"));
    btnCancel = NamedButton(this, "btnCancel", QStringLiteral("取消"));
    for (QPushButton *b : {btnAdd, btnModi, btnDel, btnOK, btnCancel})
        b->setAutoDefault(false);

    m_presets = new RowSetModel;  // the grid takes it
    m_presets->setColumns({HiddenColumn("id", ColumnKind::Integer),
                           GridColumn{QStringLiteral("dj_sn"), QStringLiteral("编号"), 80},
                           GridColumn{QStringLiteral("dj_name"), QStringLiteral("内容"), 360}});
    m_presets->setKeyField(QStringLiteral("dj_sn"));
    m_presets->setLoader([this] {
        QList<QVariantMap> rows;
        for (const NotePreset &p : LoadNotePresets(m_db))
            rows.append({{QStringLiteral("id"), p.id}, {QStringLiteral("dj_sn"), p.sn}, {QStringLiteral("dj_name"), p.text}});
        return rows;
    });
    m_history = new RowSetModel;
    m_history->setColumns({HiddenColumn("id", ColumnKind::Integer),
                           GridColumn{QStringLiteral("j_note"), QStringLiteral("内容"), 440}});
    m_history->setLoader([this] {
        QList<QVariantMap> rows;
        int n = 0;
        for (const QString &note : LoadNoteHistory(m_db))
            rows.append({{QStringLiteral("id"), ++n}, {QStringLiteral("j_note"), note}});
        return rows;
    });

    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    gridPresets = new DataGrid(pages);
    gridPresets->setObjectName(QStringLiteral("gridPresets"));
    gridPresets->setModel(m_presets);
    gridHistory = new DataGrid(pages);
    gridHistory->setObjectName(QStringLiteral("gridHistory"));
    gridHistory->setModel(m_history);
    gridHistory->setRowIndicator(true);
    gridHistory->setCurrentColumnHeaderHighlight(true);
    pages->addTab(gridPresets, QStringLiteral("单据常用备注信息"));
    pages->addTab(gridHistory, QStringLiteral("单据备注录入历史"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(CommandBar({btnAdd, btnModi, btnDel, btnOK, btnCancel}));
    layout->addWidget(pages, 1);

    connect(btnAdd, &QPushButton::clicked, this, &TF_Djbz::btnAddClick);
    connect(btnModi, &QPushButton::clicked, this, &TF_Djbz::btnModiClick);
    connect(btnDel, &QPushButton::clicked, this, &TF_Djbz::btnDelClick);
    connect(btnOK, &QPushButton::clicked, this, &TF_Djbz::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(gridPresets, &DataGrid::rowActivated, this, [this](int) { btnOKClick(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(this, &ScreenDialog::opened, this, &TF_Djbz::FormActivate);
}

void TF_Djbz::FormActivate()
{
    const QVariant tag = property(handoff::CallerTag);
    if (tag.isValid())
        m_tag = tag.toString();
    m_text.reset();
    setProperty(handoff::NoteText, QVariant());
    pages->setCurrentIndex(0);
    try {
        gridPresets->reload(ReloadTarget::First);
        gridHistory->reload(ReloadTarget::First);
    } catch (const DbError &e) {
        m_notices.notice(e.text());
    }
}

void TF_Djbz::btnOKClick()
{
    DataGrid *grid = pages->currentIndex() == 0 ? gridPresets : gridHistory;
    const QString field = pages->currentIndex() == 0 ? QStringLiteral("dj_name") : QStringLiteral("j_note");
    const QString text = grid->rowCount() > 0 && grid->currentRow() >= 0 ? grid->currentValue(field).toString() : QString();
    if (NoteTagTakesText(m_tag)) {
        m_text = text;
        setProperty(handoff::NoteText, text);
    }
    accept();
}

void TF_Djbz::reloadPresets(const QString &sn)
{
    gridPresets->reload(ReloadTarget::KeepKey);
    if (!sn.isEmpty())
        gridPresets->locate(QStringLiteral("dj_sn"), sn);
}

void TF_Djbz::btnAddClick()
{
    TF_Djbz_Add editor(m_db, m_state, m_notices, QString(), QString(), this);
    if (editor.exec() == QDialog::Accepted)
        reloadPresets(editor.savedSn());
}

void TF_Djbz::btnModiClick()
{
    if (gridPresets->rowCount() == 0 || gridPresets->currentRow() < 0)
        return;
    TF_Djbz_Add editor(m_db, m_state, m_notices, gridPresets->currentValue(QStringLiteral("dj_sn")).toString(),
                       gridPresets->currentValue(QStringLiteral("dj_name")).toString(), this);
    if (editor.exec() == QDialog::Accepted)
        reloadPresets(editor.savedSn());
}

void TF_Djbz::btnDelClick()
{
    if (gridPresets->rowCount() == 0 || gridPresets->currentRow() < 0)
        return;
    if (m_notices.ask(QStringLiteral("您确定要删除当前备注信息吗！")) != Notices::Answer::Yes)
        return;
    try {
        DeleteNotePreset(m_db, gridPresets->currentValue(QStringLiteral("dj_sn")).toString());
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return;
    }
    gridPresets->reload(ReloadTarget::KeepKey);
}
