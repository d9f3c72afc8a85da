#pragma once

// TF_User_Add "增加员工" / TF_User_Modi "修改员工" (in "employeeId"); the add dialog leaves the
// new code in "employeeCode".

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class KeyedCombo;
class MoneyEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class TF_User_Edit final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_User_Edit(bool modify, const ScreenContext &context, QWidget *parent = nullptr);

    QLineEdit *nameBox() const { return m_name; }
    MoneyEdit *rateEdit() const { return m_rate; }
    QComboBox *modeCombo() const { return m_mode; }
    QLineEdit *marginBox() const { return m_margin; }
    KeyedCombo *warehouseCombo() const { return m_warehouse; }
    void save();

private:
    void activate();

    ScreenContext m_context;
    bool m_modify;
    qint64 m_id = 0;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_duty = nullptr;
    MoneyEdit *m_rate = nullptr;
    QComboBox *m_mode = nullptr;
    QLineEdit *m_margin = nullptr;
    QLineEdit *m_tele = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_note = nullptr;
    QCheckBox *m_purchasing = nullptr;
    QCheckBox *m_sales = nullptr;
    QCheckBox *m_stock = nullptr;
    QCheckBox *m_disabled = nullptr;
    KeyedCombo *m_warehouse = nullptr;
    QLabel *m_warehouseLabel = nullptr;
};
