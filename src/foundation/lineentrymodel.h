#pragma once

// The linked boxes of a line dialog without the widgets: price, quantity, rate, tax-inclusive
// price, discount and total, the price hold (the sale calls it the price-write guard) and the
// derivation marker, with the rules of each document variant. Change rules run when a box's
// value changes, typed or set by another rule; key rules run when a key is released in the
// tax-inclusive price or total box. A rule that sets a box to the value it already has raises
// nothing, so chains end. load() then applyRateRule() is the opening: no rule runs between.
//
// Purchase receipt and order: quantity, discount and rate changes run the total rule (the rate
// first sets the tax-inclusive price from the price); a price change acts as a rate change
// unless the price hold is on (the order's then turns the hold off); the tax-inclusive price's
// key rule derives the price (the receipt holds the price meanwhile); the total's key rule
// derives the discount (UseDiscount) or the price, then turns the hold on; a unit change loads
// its price under the hold. The receipt rounds the tax-inclusive price to PriceDecimals in the
// total rule while the hold is off. Purchase return: price and tax-inclusive price follow each
// other through the rate, unrounded; there is no total.
//
// Sale: a price change (unless the guard is up, which it then lowers) and a discount change to
// a value other than 0 set the tax-inclusive price from price and rate and run the total rule;
// a quantity change runs the total rule; a rate change sets the tax-inclusive price rounded to
// PriceDecimals, then the total rule. The total rule rounds the tax-inclusive price to
// PriceDecimals (unless the guard is up) and makes the total tax-inclusive price × discount ×
// quantity (rounded to TotalDecimals with RoundTotals). The tax-inclusive price's key rule (also
// run by a key in the cost box) derives the price under the guard, then the total rule; the
// total's key rule derives the discount (UseDiscount, quantity and tax-inclusive price not 0) or
// the price under the guard, the total keeping the typed value. A unit change is a price change.

#include <QString>

struct LoginState;

enum class LineRules { Receipt, Order, Return, Sale };

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

    LineEntryModel(LineRules rules, const LoginState &state);

    LineRules rules() const { return m_rules; }
    const Values &values() const { return m_values; }
    double value(Box box) const;
    bool priceHold() const { return m_hold; }
    QString derivationMarker() const { return m_marker; }
    // The sale's discounted price (the 折后价 label): discount × price.
    double discountedPrice() const { return m_values.discount * m_values.price; }

    // The values of an opening, set as they are (no rule); the hold is cleared.
    void load(const Values &values);
    // The rate rule once (the opening's last step): the tax-inclusive price and the total follow
    // price, rate, discount and quantity.
    void applyRateRule();

    // A box's value changed (typed, or set by the screen): its change rule. The tax-inclusive
    // price and total boxes of every variant but the purchase return only take the value
    // (their rules are key rules).
    void change(Box box, double value);
    // A key was released in the tax-inclusive price or total box (not the purchase return).
    void keyReleased(Box box);
    // A unit was chosen whose price is `unitPrice`.
    void unitChanged(double unitPrice);

    // OK: with a typed total above 0 and a price of exactly 0 (all but the purchase return),
    // the price comes from the total (discount 1, rate 0, price = total ÷ quantity,
    // tax-inclusive price = price) with no rule rewriting the total meanwhile.
    void deriveFromTotal();

private:
    void set(Box box, double value, bool runRules);
    void onChanged(Box box);
    void onSaleChanged(Box box);
    void saleKeyReleased(Box box);
    void totalRule();
    void rateRule();
    void saleLabelRule();
    bool useDiscount() const;

    LineRules m_rules;
    const LoginState &m_state;
    Values m_values;
    bool m_hold = false;
    QString m_marker = QStringLiteral("0");
    int m_depth = 0;
};
