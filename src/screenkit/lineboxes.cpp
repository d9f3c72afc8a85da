#include "screenkit/lineboxes.h"

#include "screenkit/editors.h"
#include "screenkit/linedialog.h"

#include <QComboBox>
#include <QLineEdit>

using Box = LineEntryModel::Box;

LineBoxes::LineBoxes(LineEntryModel &model, const Edits &edits, QObject *parent)
    : QObject(parent), m_model(model), m_edits(edits)
{
    const QList<QPair<MoneyEdit *, Box>> boxes{{edits.price, Box::Price},       {edits.quantity, Box::Quantity},
                                                {edits.rate, Box::Rate},         {edits.taxPrice, Box::TaxPrice},
                                                {edits.discount, Box::Discount}, {edits.total, Box::Total}};
    for (const auto &[edit, box] : boxes) {
        if (!edit)
            continue;
        const Box b = box;
        connect(edit, &MoneyEdit::valueChanged, this, [this, b](double v) {
            if (filling)
                return;
            m_model.change(b, v);
            show();
        });
    }
    keyAsTaxPrice(edits.taxPrice);
    if (edits.total)
        connect(edits.total, &MoneyEdit::edited, this, [this] {
            if (filling)
                return;
            m_model.keyReleased(Box::Total);
            show();
        });
}

void LineBoxes::keyAsTaxPrice(MoneyEdit *edit)
{
    if (!edit)
        return;
    connect(edit, &MoneyEdit::edited, this, [this] {
        if (filling)
            return;
        m_model.keyReleased(Box::TaxPrice);
        show();
    });
}

void LineBoxes::load(const LineEntryModel::Values &values)
{
    m_model.load(values);
    m_model.applyRateRule();
    show();
}

void LineBoxes::show()
{
    const LineEntryModel::Values &v = m_model.values();
    const QList<QPair<MoneyEdit *, double>> boxes{{m_edits.price, v.price},       {m_edits.quantity, v.quantity},
                                                   {m_edits.rate, v.rate},         {m_edits.taxPrice, v.taxPrice},
                                                   {m_edits.discount, v.discount}, {m_edits.total, v.total}};
    for (const auto &[edit, value] : boxes)
        ShowValueQuietly(edit, value);
    if (shown)
        shown();
}

StoredUnitMemo ShowLineOpening(LineDialog &dialog, QComboBox *unit, QLineEdit *note, const LineDialogOpening &o,
                               const QVariantMap &moreInfo)
{
    QVariantMap info{{QStringLiteral("g_sn"), o.code},
                     {QStringLiteral("g_name"), o.name},
                     {QStringLiteral("gg_name"), o.spec},
                     {QStringLiteral("dw_name"), o.unitIndex > 0 ? o.units.value(o.unitIndex) : o.baseUnit},
                     {QStringLiteral("g_sccs"), o.maker},
                     {QStringLiteral("color_name"), o.colour},
                     {QStringLiteral("kc_sl"), o.stock},
                     {QStringLiteral("g_bz"), o.note}};
    for (auto it = moreInfo.begin(); it != moreInfo.end(); ++it)
        info.insert(it.key(), it.value());
    dialog.setInfo(info);
    unit->clear();
    unit->addItems(o.units);
    unit->setCurrentIndex(o.unitIndex);
    note->setText(o.lineNote);
    StoredUnitMemo memo;
    if (o.storedUnitFactor > 0) {
        memo.index = o.unitIndex;
        memo.factor = o.storedUnitFactor;
    }
    return memo;
}
