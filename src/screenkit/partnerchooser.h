#pragma once

// The partner chooser of a document window (suppliers or customers): the kit's chooser panel
// over the login's partner list (foundation/partnerlists.h), made at its first use with the
// window's description (captions, search fields, columns, object names), reopened in the order
// of its order box ("编号倒序" after an add), "添加(F8)"/"修改(F9)" through the window's dialogs.
// choose() shows it with a search text and hands back the partner taken.

#include "screenkit/chooserpanel.h"
#include "screenkit/gridcolumn.h"

#include <QSqlDatabase>

#include <functional>
#include <optional>

class LoginState;
class PartnerList;

struct PartnerChooserSpec
{
    ChooserOptions options;
    const char *objectName = "";            // RzPanelGhs, RzPanelKh …
    const char *orderBoxName = nullptr;     // the order box's name, when the window names it
    QList<GridColumn> columns;              // the list's columns (an "id" column among them)
    bool takeAdded = false;                 // the partner just added is taken at once
};

struct PartnerPick
{
    QString code;
    QString name;
};

class PartnerChooser
{
public:
    PartnerChooser(PartnerChooserSpec spec, const QSqlDatabase &db, const LoginState &state, PartnerList &list,
                   QWidget *parent);

    // The panel, made at the first call.
    ChooserPanel *panel();

    // The add dialog (parented to the panel); returns the new partner's code, or "".
    std::function<QString(QWidget *parent)> addPartner;
    // The modify dialog on the row of that id.
    std::function<void(QWidget *parent, qint64 id)> modifyPartner;

    // Shows the panel filtered by `search`; "添加" and "修改" only as allowed.
    std::optional<PartnerPick> choose(const QString &search, bool mayAdd, bool mayModify);

private:
    void openList(bool newestFirst);

    PartnerChooserSpec m_spec;
    QSqlDatabase m_db;
    const LoginState &m_state;
    PartnerList &m_list;
    QWidget *m_parent;
    ChooserPanel *m_panel = nullptr;
};

// A column of a partner list (hidden when `visible` is false).
GridColumn PartnerColumn(const char *field, const char *caption, int width, bool visible = true);
