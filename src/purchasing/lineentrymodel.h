#pragma once

// The linked boxes of the purchase line dialog without the widgets: price, quantity, rate,
// tax-inclusive price, discount and total, the price hold and the derivation marker, with the
// rules of each variant. Change rules run when a box's value changes, typed or set by another
// rule; key rules run when a key is released in the tax-inclusive price or total box. A rule
// that sets a box to the value it already has raises nothing, so chains end.
//
// Receipt and order: quantity, discount and rate changes run the total rule (the rate first
// sets the tax-inclusive price from the price); a price change acts as a rate change unless the
// price hold is on (the order's then turns the hold off); the tax-inclusive price's key rule
// derives the price (the receipt holds the price meanwhile); the total's key rule derives the
// discount (UseDiscount) or the price, then turns the hold on; a unit change loads its price
// under the hold. The receipt rounds the tax-inclusive price to PriceDecimals in the total
// rule while the hold is off. Return: price and tax-inclusive price follow each other through
// the rate, unrounded; there is no total.

#include "purchasing/purchasedoc.h"

struct LoginState;

class LineEntryModel
{
public:
    enum class Box { Price, Quantity, Rate, TaxPrice, Discount, Total };

    struct Values
    {
        double price = 0.0;
        double quantity = 1.0;
        double rate = 0.0;
        double taxPrice = 0.0;
        double discount = 1.0;
        double total = 0.0;
    };

    LineEntryModel(PurchaseKind kind, const LoginState &state);

    PurchaseKind kind() const { return m_kind; }
    const Values &values() const { return m_values; }
    double value(Box box) const;
    bool priceHold() const { return m_hold; }
    QString derivationMarker() const { return m_marker; }

    // The values of an opening, set as they are (no rule); the hold is cleared.
    void load(const Values &values);
    // The rate rule once (the opening's last step): the tax-inclusive price and the total follow
    // price, rate, discount and quantity.
    void applyRateRule();

    // A box's value changed (typed, or set by the screen): its change rule. For the receipt's
    // and order's tax-inclusive price and total boxes the value is only taken (their rules are
    // key rules).
    void change(Box box, double value);
    // A key was released in the tax-inclusive price or total box (receipt, order).
    void keyReleased(Box box);
    // A unit was chosen whose price is `unitPrice`.
    void unitChanged(double unitPrice);

    // OK: with a typed total above 0 and a price of exactly 0 (receipt, order), the price comes
    // from the total (discount 1, rate 0, price = total ÷ quantity, tax-inclusive price = price)
    // with no rule rewriting the total meanwhile.
    void deriveFromTotal();

private:
    void set(Box box, double value, bool runRules);
    void onChanged(Box box);
    void totalRule();
    void rateRule();
    bool useDiscount() const;

    PurchaseKind m_kind;
    const LoginState &m_state;
    Values m_values;
    bool m_hold = false;
    QString m_marker = QStringLiteral("0");
    int m_depth = 0;
};
