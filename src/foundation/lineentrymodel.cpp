#include "foundation/lineentrymodel.h"

#include "foundation/db/numbers.h"
#include "foundation/formats.h"
#include "foundation/linemath.h"
#include "foundation/loginstate.h"

#include <cmath>

namespace {

// Half away from zero, nothing added (the boxes' own rounding while typing).
double RoundPlain(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

double &slot(LineEntryModel::Values &v, LineEntryModel::Box box)
{
    switch (box) {
    case LineEntryModel::Box::Price:
        return v.price;
    case LineEntryModel::Box::Quantity:
        return v.quantity;
    case LineEntryModel::Box::Rate:
        return v.rate;
    case LineEntryModel::Box::TaxPrice:
        return v.taxPrice;
    case LineEntryModel::Box::Discount:
        return v.discount;
    case LineEntryModel::Box::Total:
        break;
    }
    return v.total;
}

} // namespace

LineEntryModel::LineEntryModel(LineRules rules, const LoginState &state) : m_rules(rules), m_state(state) {}

double LineEntryModel::value(Box box) const
{
    return slot(const_cast<Values &>(m_values), box);
}

void LineEntryModel::load(const Values &values)
{
    m_values = values;
    m_hold = false;
    m_marker = QStringLiteral("0");
}

bool LineEntryModel::useDiscount() const
{
    return IsTrueWithCostRight(m_state, m_state.UseDiscount,
                               m_rules == LineRules::Sale ? QStringLiteral("xs") : QStringLiteral("cj"));
}

void LineEntryModel::set(Box box, double value, bool runRules)
{
    double &v = slot(m_values, box);
    if (v == value)
        return;
    v = value;
    if (runRules)
        onChanged(box);
}

void LineEntryModel::change(Box box, double value)
{
    const bool keyRuled = m_rules != LineRules::Return && (box == Box::TaxPrice || box == Box::Total);
    set(box, value, !keyRuled);
}

void LineEntryModel::onChanged(Box box)
{
    if (m_rules == LineRules::Sale) {
        onSaleChanged(box);
        return;
    }
    if (m_rules == LineRules::Return) {
        // Price and tax-inclusive price follow each other; what one rule sets raises nothing.
        if (m_depth > 0)
            return;
        ++m_depth;
        if (box == Box::Price || box == Box::Rate)
            set(Box::TaxPrice, TaxInclusivePrice(m_values.price, m_values.rate), true);
        else if (box == Box::TaxPrice)
            set(Box::Price, PriceExcludingTax(m_values.taxPrice, m_values.rate), true);
        --m_depth;
        return;
    }
    const bool deriving = m_marker == QLatin1String("2");
    switch (box) {
    case Box::Quantity:
        totalRule();
        break;
    case Box::Discount:
        if (!deriving)
            totalRule();
        break;
    case Box::Rate:
        if (!deriving)
            rateRule();
        break;
    case Box::Price:
        if (m_hold) {
            if (m_rules == LineRules::Order)
                m_hold = false;
        } else if (!deriving) {
            rateRule();
        }
        break;
    case Box::TaxPrice:
    case Box::Total:
        break;
    }
}

void LineEntryModel::rateRule()
{
    const double taxPrice = TaxInclusivePrice(m_values.price, m_values.rate);
    set(Box::TaxPrice, m_rules == LineRules::Receipt ? RoundPlain(taxPrice, m_state.PriceDecimals) : taxPrice, false);
    totalRule();
}

void LineEntryModel::applyRateRule()
{
    if (m_rules == LineRules::Sale)
        saleLabelRule();
    else if (m_rules == LineRules::Return)
        set(Box::TaxPrice, TaxInclusivePrice(m_values.price, m_values.rate), false);
    else
        rateRule();
}

void LineEntryModel::totalRule()
{
    if (m_rules == LineRules::Return)
        return;
    if ((m_rules == LineRules::Receipt || m_rules == LineRules::Sale) && !m_hold)
        set(Box::TaxPrice, RoundPlain(m_values.taxPrice, m_state.PriceDecimals), false);
    double total = m_values.discount * m_values.taxPrice * m_values.quantity;
    if (IsTrue(m_state.RoundTotals))
        total = RoundTo(total, TotalDecimalsValue(m_state));
    set(Box::Total, total, false);
}

void LineEntryModel::keyReleased(Box box)
{
    if (m_rules == LineRules::Return)
        return;
    if (m_rules == LineRules::Sale) {
        saleKeyReleased(box);
        return;
    }
    if (box == Box::TaxPrice) {
        const double price = PriceExcludingTax(m_values.taxPrice, m_values.rate);
        if (m_rules == LineRules::Receipt) {
            m_hold = true;
            set(Box::Price, price, true);
            totalRule();
            m_hold = false;
        } else {
            set(Box::Price, price, true);
            totalRule();
        }
        return;
    }
    if (box != Box::Total)
        return;
    const double total = m_values.total;
    if (useDiscount()) {
        if (m_values.quantity != 0.0 && m_values.taxPrice != 0.0)
            set(Box::Discount, total / (m_values.taxPrice * m_values.quantity), true);
    } else if (m_values.quantity != 0.0) {
        const double divisor = 1.0 + m_values.rate / 100.0;
        set(Box::Price, divisor == 0.0 ? 0.0 : total / m_values.quantity / divisor, true);
        set(Box::TaxPrice, TaxInclusivePrice(m_values.price, m_values.rate), false);
    }
    m_hold = true;
}

void LineEntryModel::unitChanged(double unitPrice)
{
    if (m_rules == LineRules::Return || m_rules == LineRules::Sale) {
        set(Box::Price, unitPrice, true);
        return;
    }
    m_hold = true;
    set(Box::Price, unitPrice, true);
    set(Box::TaxPrice, TaxInclusivePrice(m_values.price, m_values.rate), false);
    totalRule();
}

void LineEntryModel::deriveFromTotal()
{
    if (m_rules == LineRules::Return)
        return;
    if (!(m_values.total > 0.0 && m_values.price == 0.0 && m_values.quantity > 0.0))
        return;
    m_marker = QStringLiteral("2");
    m_values.discount = 1.0;
    m_values.rate = 0.0;
    m_values.price = m_values.total / m_values.quantity;
    m_values.taxPrice = m_values.price;
    m_marker = QStringLiteral("0");
}

// ---- Sale ----------------------------------------------------------------------------------

void LineEntryModel::saleLabelRule()
{
    if (m_marker == QLatin1String("2"))
        return;
    set(Box::TaxPrice, TaxInclusivePrice(m_values.price, m_values.rate), false);
    totalRule();
}

void LineEntryModel::onSaleChanged(Box box)
{
    if (m_marker == QLatin1String("2"))
        return;
    switch (box) {
    case Box::Price:
        // A price the model derived itself only lowers the guard.
        if (m_hold)
            m_hold = false;
        else
            saleLabelRule();
        break;
    case Box::Discount:
        if (m_values.discount != 0.0)
            saleLabelRule();
        break;
    case Box::Quantity:
        totalRule();
        break;
    case Box::Rate:
        set(Box::TaxPrice, RoundPlain(TaxInclusivePrice(m_values.price, m_values.rate), m_state.PriceDecimals), false);
        totalRule();
        break;
    case Box::TaxPrice:
    case Box::Total:
        break;
    }
}

void LineEntryModel::saleKeyReleased(Box box)
{
    if (box == Box::TaxPrice) {
        m_hold = true;
        const double price = m_values.rate > 0.0 ? m_values.taxPrice / (1.0 + m_values.rate / 100.0) : m_values.taxPrice;
        if (m_values.price == price)
            m_hold = false;
        set(Box::Price, price, true);
        totalRule();
        m_hold = false;
        return;
    }
    if (box != Box::Total)
        return;
    const double typed = m_values.total;
    if (useDiscount()) {
        if (m_values.quantity != 0.0 && m_values.taxPrice != 0.0)
            set(Box::Discount, typed / (m_values.taxPrice * m_values.quantity), true);
    } else if (m_values.quantity != 0.0) {
        m_hold = true;
        const double price = typed / m_values.quantity / (1.0 + m_values.rate / 100.0);
        if (m_values.price == price)
            m_hold = false;
        set(Box::Price, price, true);
        m_hold = false;
        set(Box::TaxPrice, TaxInclusivePrice(m_values.price, m_values.rate), false);
    }
    set(Box::Total, typed, false);
}
