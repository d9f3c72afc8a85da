#pragma once

// Customers and suppliers are one kind of record driven by this table of their differences:
// table and column prefix, the opening balance's registration, the texts of the checks and the
// screens' names. QtCore.

#include <QString>

enum class PartnerKind { Customer, Supplier };

struct PartnerKindInfo
{
    PartnerKind kind;
    const char *table;         // jxc_khxx / jxc_ghsxx
    const char *prefix;        // column prefix "kh" / "ghs"; also k_type of its ledger rows
    const char *numberPrefix;  // "YS" / "YF": the opening registration
    const char *openingText;   // k_fkfs and k_djtxt: "期初应收款" / "期初应付款"
    const char *openingNote;   // k_note
    const char *cashPrefix;    // "SK" / "FK": its cash rows
    const char *nameRequired;
    const char *duplicateOnAdd;
    const char *duplicateOnModify;
    const char *inUse;
    const char *builtIn;
    const char *deleteQuestion;
    const char *missing;       // the row went meanwhile
    const char *failed;        // prefix of a database error
    int regionLength;          // the region box
    int contactLength;         // the contact box
    int noteKept;              // characters of the note kept (0: all)
    // Screens.
    const char *listClass;     // TF_Khgl / TF_Ghsgl
    const char *listCaption;
    const char *addClass;
    const char *addCaption;
    const char *modifyClass;
    const char *modifyCaption;
    const char *searchClass;
    const char *searchCaption;
    const char *importClass;
    const char *typeClass;     // TF_Khgl_Type / TF_Ghsgl_Type
    const char *addTag;        // "khgl_add" / "ghsgl_add": the mode the type list is opened in
    const char *modifyTag;
    const char *printTemplate; // khgl / ghsgl
    const char *printDataSet;  // Q_Khxx / Q_Ghsxx

    QString column(const char *suffix) const;  // column("name") → "kh_name"
    QString tableName() const { return QString::fromLatin1(table); }
    QString ledgerType() const { return QString::fromLatin1(prefix); }
};

const PartnerKindInfo &PartnerKindOf(PartnerKind kind);

inline constexpr const char *kAllWarehousesKey = "-1";
inline constexpr const char *kAllWarehousesText = "所有仓库";
inline constexpr const char *kBuiltInSn = "100001";
