#pragma once

#include "foundation/systemparams.h"
#include "screenkit/screenbase.h"

#include <QHash>
#include <QSqlDatabase>

class Clock;
class KeyedCombo;
class MoneyEdit;
class Notices;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
struct LoginState;

// "系统设置": the company header and the system parameters of the account set. Each control is
// named after its column (c_name, cs_xjyh, cs_cs031 …).
class TF_Xtcs final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Xtcs(const QSqlDatabase &db, LoginState &state, const Clock &clock, Notices &notices,
            QWidget *parent = nullptr);

    void FormActivate();
    void btnOKClick();
    void btnDefaultClick();

    QTabWidget *pages = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnDefault = nullptr;

    QLineEdit *companyBox(const QString &column) const { return m_companyBoxes.value(column); }
    QPlainTextEdit *noteBox() const { return m_note; }
    QCheckBox *check(const QString &column) const { return m_checks.value(column); }
    KeyedCombo *choice(const QString &column) const { return m_choices.value(column); }
    QLineEdit *number(const QString &column) const { return m_numbers.value(column); }
    MoneyEdit *taxBox() const { return m_tax; }
    MoneyEdit *discountBox() const { return m_discount; }
    QLineEdit *currencyBox() const { return m_currency; }

private:
    QWidget *buildCompanyPage();
    QWidget *buildParamsPage();
    void fill(const SystemParamsValues &values);
    SystemParamsValues gather() const;
    void reloadParams();

    QSqlDatabase m_db;
    LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;

    QHash<QString, QLineEdit *> m_companyBoxes;
    QPlainTextEdit *m_note = nullptr;
    QHash<QString, QCheckBox *> m_checks;
    QHash<QString, KeyedCombo *> m_choices;
    QHash<QString, QLineEdit *> m_numbers;
    MoneyEdit *m_tax = nullptr;
    MoneyEdit *m_discount = nullptr;
    QLineEdit *m_currency = nullptr;

    // While the controls are filled the binding boxes do not tick each other.
    bool m_loading = false;
    // What was read at activation: the marker and the carried columns go back as read.
    SystemParamsValues m_loaded;
};
