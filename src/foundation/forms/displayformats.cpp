#include "foundation/forms/displayformats.h"

#include "foundation/formats.h"
#include "foundation/loginstate.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"

namespace {

void applyEdit(MoneyEdit *edit, const DisplayFormat &f)
{
    if (f.inputDecimals >= 0)
        edit->setDecimals(f.inputDecimals);
    if (f.maxLength > 0)
        edit->setMaxLength(f.maxLength);
    edit->setDisplayFormat(f.pattern);
}

void applyColumn(DataGrid &grid, const QString &field, ColumnKind kind, const DisplayFormat &f)
{
    GridModel *model = grid.model();
    if (!model || !model->hasField(field))
        return;
    GridColumn &col = model->column(field);
    col.kind = kind;
    col.format = f.pattern;
    if (f.inputDecimals >= 0)
        col.decimals = f.inputDecimals;
    grid.view()->viewport()->update();
}

} // namespace

void SetMoneyEditFormat(MoneyEdit *edit, const LoginState &state)
{
    applyEdit(edit, MoneyEditFormat(state));
}

void SetQtyEditFormat(MoneyEdit *edit, const LoginState &state)
{
    applyEdit(edit, QtyEditFormat(state));
}

void SetMoneyColumnFormat(DataGrid &grid, const QString &field, const LoginState &state)
{
    applyColumn(grid, field, ColumnKind::Money, MoneyColumnFormat(state));
}

void SetQtyColumnFormat(DataGrid &grid, const QString &field, const LoginState &state)
{
    applyColumn(grid, field, ColumnKind::Quantity, QtyColumnFormat(state));
}

void SetMoneyFooterFormat(DataGrid &grid, const QString &field, const LoginState &state)
{
    grid.setFooterFormat(field, MoneyFooterFormat(state).pattern);
}

void SetQtyFooterFormat(DataGrid &grid, const QString &field, const LoginState &state)
{
    grid.setFooterFormat(field, QtyFooterFormat(state).pattern);
}

void SetMoneyBandedColumnFormat(DataGrid &grid, const QString &field, const LoginState &state)
{
    applyColumn(grid, field, ColumnKind::Money, MoneyBandedColumnFormat(state));
}

void SetMoneyBandedFooterFormat(DataGrid &grid, const QString &field, const LoginState &state)
{
    grid.setFooterFormat(field, MoneyBandedFooterFormat(state).pattern);
}

void SetQtyBandedColumnFormat(DataGrid &grid, const QString &field, const LoginState &state)
{
    applyColumn(grid, field, ColumnKind::Quantity, QtyBandedColumnFormat(state));
}

void SetQtyBandedFooterFormat(DataGrid &grid, const QString &field, const LoginState &state)
{
    grid.setFooterFormat(field, QtyBandedFooterFormat(state).pattern);
}
