#pragma once

// TF_Ckgl_Add "增加仓库" / TF_Ckgl_Modi "修改仓库" (in "warehouseSn"): the warehouse with the
// operators allowed in it. The add dialog leaves the new code in "warehouseSn".

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class CheckTree;
class QCheckBox;
class QLineEdit;

class TF_Ckgl_Edit final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Ckgl_Edit(bool modify, const ScreenContext &context, QWidget *parent = nullptr);

    QLineEdit *nameBox() const { return m_name; }
    QLineEdit *keeperBox() const { return m_keeper; }
    CheckTree *operatorTree() const { return m_tree; }
    QCheckBox *defaultBox() const { return m_default; }
    void save();

private:
    void activate();

    ScreenContext m_context;
    bool m_modify;
    QString m_code;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_keeper = nullptr;
    QLineEdit *m_tele = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_note = nullptr;
    QCheckBox *m_default = nullptr;
    QCheckBox *m_pos = nullptr;
    CheckTree *m_tree = nullptr;
};
