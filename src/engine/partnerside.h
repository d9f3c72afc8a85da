#pragma once

// The partner a document is booked against, described once: a supplier (purchases, payments) or
// a customer (sales, receipts). Postings, cancels, balances and locks take the description
// instead of testing "ghs" / "kh" themselves.

#include <QString>

struct PartnerSide
{
    QString type;         // k_type / fp_type and the lock key: "ghs" or "kh"
    QString table;        // the master table: jxc_ghsxx / jxc_khxx
    QString key;          // its code column, the same in document headers: ghs_sn / kh_sn
    QString name;         // its name column: ghs_name / kh_name
    QString balance;      // its running balance of the partner account: ghs_lwje / kh_lwje
    QString title;        // in refusals: "供货商" / "客户"
};

const PartnerSide &SupplierSide();
const PartnerSide &CustomerSide();

// The side of a k_type / fp_type text; nullptr for any other text.
const PartnerSide *PartnerSideOfType(const QString &type);
