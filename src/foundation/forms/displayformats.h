#pragma once

// The display formats of money and quantities put onto the kit's editors, grid columns and
// footers. The rules (foundation/formats.h) give pattern, decimals and length; a control keeps
// what it got until it is set again.

#include <QString>

struct LoginState;
class DataGrid;
class MoneyEdit;

void SetMoneyEditFormat(MoneyEdit *edit, const LoginState &state);
void SetQtyEditFormat(MoneyEdit *edit, const LoginState &state);

void SetMoneyColumnFormat(DataGrid &grid, const QString &field, const LoginState &state);
void SetQtyColumnFormat(DataGrid &grid, const QString &field, const LoginState &state);
void SetMoneyFooterFormat(DataGrid &grid, const QString &field, const LoginState &state);
void SetQtyFooterFormat(DataGrid &grid, const QString &field, const LoginState &state);

void SetMoneyBandedColumnFormat(DataGrid &grid, const QString &field, const LoginState &state);
void SetMoneyBandedFooterFormat(DataGrid &grid, const QString &field, const LoginState &state);
void SetQtyBandedColumnFormat(DataGrid &grid, const QString &field, const LoginState &state);
void SetQtyBandedFooterFormat(DataGrid &grid, const QString &field, const LoginState &state);
