#pragma once

#include "foundation/forms/handoffnames.h"

#include "screenkit/screenbase.h"

#include <QSqlDatabase>

#include <optional>

class DataGrid;
class Notices;
class QPushButton;
class QTabWidget;
class RowSetModel;
struct LoginState;

// "单据备注信息设置": the document-note presets and the remarks typed on purchase receipts. The
// caller names itself by its tag ("jh", "th", "xs", "xsth" take the chosen text; any other tag
// takes nothing). Opened through the registry, the tag comes as the property "callerTag" and
// the chosen text goes back as the property "noteText" (set only when there is a text to take).
class TF_Djbz final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Djbz(const QSqlDatabase &db, const LoginState &state, Notices &notices, const QString &callerTag = QString(),
            QWidget *parent = nullptr);

    void setCallerTag(const QString &tag) { m_tag = tag; }
    // The text for the caller's note box after "确定" (nothing after "取消" or for other tags).
    std::optional<QString> noteText() const { return m_text; }

    void FormActivate();
    void btnOKClick();
    void btnAddClick();
    void btnModiClick();
    void btnDelClick();

    QTabWidget *pages = nullptr;
    DataGrid *gridPresets = nullptr;
    DataGrid *gridHistory = nullptr;
    QPushButton *btnAdd = nullptr;
    QPushButton *btnModi = nullptr;
    QPushButton *btnDel = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    void reloadPresets(const QString &sn = QString());

    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
    QString m_tag;
    std::optional<QString> m_text;
    RowSetModel *m_presets = nullptr;
    RowSetModel *m_history = nullptr;
};

// Opened through the registry: in handoff::CallerTag, out handoff::NoteText (handoffnames.h).
