#pragma once

// The rights catalogue: every right a role can hold, by module and position, with the caption
// the role editor's check tree shows. It is the system's one list of rights; commands name a
// right by module code and position (HasRight), and the editor stores one text of "0"/"1" per
// module, character n being position n.

#include <QList>
#include <QString>
#include <QStringList>

struct RightGroup
{
    QString module;    // column of jxc_role: cggl, xsgl, kcgl, wlzk, tjgl, qtcz
    QString caption;   // root node of the tree: "入库管理" …
    QStringList rights;  // captions by position (index 0 = position 1)
};

// The six groups in tree order. The module rcgl ("日常管理") has no positions and no group.
const QList<RightGroup> &RightsCatalog();

// The caption of right `position` (from 1) of `module`; empty when the catalogue has none.
QString RightCaption(const QString &module, int position);

// The rights texts of one role, by module column.
struct RoleRights
{
    QString cggl, xsgl, kcgl, wlzk, tjgl, rcgl, qtcz;

    QString &of(const QString &module);
    QString of(const QString &module) const;
};

// Every right of the catalogue in tree order: true when the role's text holds "1" at the
// position (positions past the end of a text are not held).
QList<bool> RightStatesOf(const RoleRights &rights);

// The texts the editor stores from the states of every right in tree order: one character per
// position ("1" held), rcgl empty. Missing states count as not held.
RoleRights RoleRightsFrom(const QList<bool> &states);

// Number of rights in the catalogue (98).
int RightsCount();
