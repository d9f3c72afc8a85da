#pragma once

// TF_User2 "选择经办人": the handler chooser of the document windows. In "callerTag" (and
// "customerSn" for the sales windows); "确定(F5)", F5 or a double-click leave the opener's new
// handler list and selection (handoff "handlerItems", "handlerSelected"); the opener applies
// them with ApplyHandlerAnswer.

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class DataGrid;
class QLineEdit;
class QPushButton;
class SqlGridModel;

class TF_User2 final : public ScreenDialog
{
    Q_OBJECT

public:
    explicit TF_User2(const ScreenContext &context, QWidget *parent = nullptr);

    DataGrid *grid() const { return m_grid; }
    QLineEdit *keyBox() const { return m_key; }
    QPushButton *addButton() const { return m_add; }
    QPushButton *modifyButton() const { return m_modify; }

    void addEmployee();
    void modifyEmployee();
    void confirm();

private:
    void activate();
    void load();
    void filter();

    ScreenContext m_context;
    QLineEdit *m_key = nullptr;
    DataGrid *m_grid = nullptr;
    SqlGridModel *m_model = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_modify = nullptr;
};
