#include "foundation/forms/djbz_add.h"

#include "foundation/loginstate.h"
#include "foundation/notepresets.h"
#include "foundation/notices.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_Djbz_Add::TF_Djbz_Add(const QSqlDatabase &db, const LoginState &state, Notices &notices, const QString &presetSn,
                         const QString &text, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_notices(notices), m_presetSn(presetSn)
{
    setObjectName(QStringLiteral("TF_Djbz_Add"));
    setWindowTitle(presetSn.isEmpty() ? QStringLiteral("增加常用备注信息") : QStringLiteral("修改常用备注信息"));

    edNote = new QLineEdit(this);
    edNote->setObjectName(QStringLiteral("edNote"));
    edNote->setMaxLength(64);
    InstallCharFilter(edNote, CharFilter::Standard);
    edNote->setText(presetSn.isEmpty() ? QString() : text);
    edNote->setMinimumWidth(320);
    auto *line = new QHBoxLayout;
    line->addWidget(new QLabel(QStringLiteral("内容："), this));
    line->addWidget(edNote, 1);

    const ConfirmButtons confirm = AddConfirmButtons(this, QStringLiteral("保存(F5)"), "btnExit",
                                                     QStringLiteral("退出(Esc)"), [this] { btnSaveClick(); });
    btnSave = confirm.ok;
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnExit = confirm.close;

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(line);
    layout->addLayout(confirm.row);
}

void TF_Djbz_Add::btnSaveClick()
{
    const NotePresetResult r = SaveNotePreset(m_db, m_presetSn, edNote->text());
    if (r.status != NotePresetResult::Status::Saved) {
        m_notices.notice(r.text);
        return;
    }
    m_savedSn = r.sn;
    accept();
}
