#pragma once

// The search dialogs of the master lists: TF_Khgl_Search "客户查找", TF_Ghsgl_Search "供货商查找",
// TF_Ckgl_Search "仓库查找" and TF_User_Search "员工查询". One dialog of labelled boxes (and
// lists), driven by the table of its members; its confirm leaves the trimmed texts in the
// "criteria" property, in the order of the boxes.

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class QComboBox;
class QLineEdit;

enum class SearchDialogKind { Customers, Suppliers, Warehouses, Employees };

class TF_MasterSearch final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_MasterSearch(SearchDialogKind kind, const ScreenContext &context, QWidget *parent = nullptr);

    static QString className(SearchDialogKind kind);
    // The boxes and lists in order.
    const QList<QWidget *> &fields() const { return m_fields; }
    void confirm();

private:
    ScreenContext m_context;
    QList<QWidget *> m_fields;
};
