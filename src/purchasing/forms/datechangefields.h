#pragma once

// The fields both change-of-date dialogs ("修改开单日期") share: the number, the date, the
// warehouse, the handler, the note, the settlement, the account, the amounts and the original
// number, laid out as rows of caption and box. Each dialog brings its own supplier box and any rows
// of its own between the amounts and the original number.

#include "purchasing/docdatechange.h"

#include <QList>

#include <functional>

class DateEdit;
class KeyedCombo;
class MoneyEdit;
class ScreenDialog;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;
struct LoginState;
class QSqlDatabase;

class DateChangeFields
{
public:
    explicit DateChangeFields(ScreenDialog *dialog);

    // 单号 … 实付金额, with `supplier` as the supplier row.
    void addHeadRows(QWidget *supplier);
    // One more row; returns its caption and box (to show or hide them together).
    QList<QWidget *> addRow(const char *caption, QWidget *box);
    // 原始单号, then 保存(F5) and 退出(Esc) under the rows.
    void finish(std::function<void()> save);

    // The lists of the boxes; the money formats of the login.
    void fillLists(const QSqlDatabase &db, const LoginState &state);
    // The document's values into the shared boxes (the supplier is the dialog's).
    void show(const DateChangeDoc &doc);
    // The shared boxes into `in`.
    void read(DateChangeInput &in) const;

    QLabel *number = nullptr;
    DateEdit *date = nullptr;
    KeyedCombo *warehouse = nullptr;
    KeyedCombo *handler = nullptr;
    QLineEdit *note = nullptr;
    KeyedCombo *settle = nullptr;
    KeyedCombo *account = nullptr;
    MoneyEdit *payable = nullptr;
    MoneyEdit *paid = nullptr;
    QLineEdit *originalNo = nullptr;
    QList<QWidget *> settleRow, accountRow, amountRows, originalRow;

private:
    ScreenDialog *m_dialog;
    QGridLayout *m_grid;
    QList<QWidget *> m_boxes;
    int m_row = 0;
};
