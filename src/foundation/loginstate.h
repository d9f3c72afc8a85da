#pragma once

// The login state: who is logged in to which account set, with the system parameters, company
// header, cached rights and template names that belong to that login. One object that the
// rules receive; the shell owns the process's instance, tests build their own.
//
// Parameter flags are texts as read from the row ("1"/"0" for bit columns, digits for the
// others); test them with IsTrue. A few values are integers, marked so.

#include <QSqlDatabase>
#include <QString>

class Clock;

struct LoginState
{
    // ---- Login fields (set by the login) ----
    QString CurrentOperatorName;    // a_name: written into per-operator rows, the log, checker fields
    QString CurrentOperatorSn;      // a_sn: binding of operators to warehouses (ck_asn)
    QString CurrentRoleSn;          // r_sn: "100001" is the built-in administrator role
    QString CurrentAccountSetDb;    // zt_dbname
    QString CurrentAccountSetName;  // zt_name

    // ---- Company header (first row of jxc_company) ----
    QString CompanyName;       // c_name    -> comName
    QString CompanyTele;       // c_tele    -> comTele
    QString CompanyContact;    // c_lxr     -> comLxr
    QString CompanyAddress;    // c_address -> comAddress
    QString CompanyShortName;  // c_jc
    QString CompanyNote;       // c_note    -> comNote

    // ---- System parameters (first row of jxc_xtcs), in load order ----
    QString PurchasePriceDefault;       // cs_cgdj
    QString SalePriceDefault;           // cs_xsdj
    QString AllowSalePriceEdit;         // cs_xgdj
    QString AllowNegativeStock;         // cs_kc
    QString UseOriginalDocNo;           // cs_ysdh
    QString AutoGoodsCode;              // cs_spbh
    QString PickerEnterSearch;          // cs_hcj
    QString ReturnOnlySuppliedGoods;    // cs_ct
    QString ReturnOnlySoldGoods;        // cs_xt
    QString AuditOnSave;                // cs_shdj
    QString UseCashBank;                // cs_xjyh
    QString PosDiscount;                // cs_posdj
    QString DocDateDefault;             // cs_djrq (empty becomes "0")
    QString PrintLineOrder;             // cs_dysx
    QString WarnShortPrepayment;        // cs_cs001
    QString AllowSaleCostEdit;          // cs_cs002
    QString CurrencySymbol;             // cs_hbfh
    QString CustomerDisplayBaud;        // cs_cs004 ("2400" when "0", else "9600")
    QString UsePurchaseOrder;           // cs_cs007
    QString UseSalesOrder;              // cs_cs008
    QString CostFromStockRow;           // cs_cs009
    QString ChooseSalesPrintFormat;     // cs_cs010
    QString ChoosePurchasePrintFormat;  // cs_cs011
    QString UseGradePrices;             // cs_cs013
    QString DocDateWithTime;            // cs_cs014
    QString SalesRowsPerPage;           // cs_cs005
    QString PurchaseRowsPerPage;        // cs_cs006
    QString NoPrintBeforeSave;          // cs_bcqdy
    QString PrintPurchaseOnSave;        // cs_cs016
    QString PrintSaleOnSave;            // cs_djzddy
    QString PickerDblClickSelect;       // cs_tmzdsc
    QString BarcodeMethod;              // cs_tmscff
    QString SpecialsEarnPoints;         // cs_tjcyjf
    QString PosPayDecimals;             // cs_posfkws
    QString PosHeldTodayOnly;           // cs_poshooktoday
    QString RoundTotals;                // cs_zjews
    QString TotalDecimals;              // cs_jews (see LoadSysParams)
    int PriceDecimals = 0;              // cs_xsws, 0..8, else 2
    int QtyDecimals = 0;                // cs_cbjs, 0..8, else 2
    QString UseInvoice;                 // cs_kp
    QString UseTax;                     // cs_hs
    QString SeparateStockOut;           // cs_spck
    QString SeparateStockIn;            // cs_sprk
    QString UseRetailPrice;             // cs_lsj
    QString UseSms;                     // cs_sms
    QString DefaultTaxRate;             // cs_tax
    QString TransferPriceBasis;         // cs_dbdj
    QString UseDiscount;                // cs_jhzk
    QString MinSaleDiscount;            // cs_zdzk (empty becomes "0")
    QString ScanAddsQty;                // cs_possk
    QString UseContractNo;              // cs_ht
    QString UseFreight;                 // cs_kddy
    QString UseAuxUnits;                // cs_fzdw
    QString ShowFirstAuxQty;            // cs_cs003
    QString PurchasePaidDefault;        // cs_cgje
    QString SalePaidDefault;            // cs_xsje
    QString ParamDjsh;                  // cs_djsh
    QString CodeAsBarcode;              // cs_barcode
    QString UseDocPayment;              // cs_barunique
    QString UseDocReceipt;              // cs_zerocost
    QString BindPartnersToWarehouse;    // cs_shtc
    QString BindOperatorWarehouse;      // cs_cgyh
    QString BindSalesmanCustomer;       // cs_xsyh
    QString SettleDiffMode;             // cs_xsjgts
    QString DefaultSettleMode;          // cs_activatets
    QString ShowCustomerHistory;        // cs_activate
    QString ShowSupplierHistory;        // cs_employ
    int UiFontSize = 0;                 // cs_cs031 + 8, in points
    QString SummaryShowsDifference;     // cs_cs023
    QString UseWxPay;                   // cs_wxzf
    QString UseGoodsShelf;              // cs_cs012
    QString CostMethod;                 // cs_cs032
    QString UseGoodsColour;             // cs_cs026
    QString ShowRemindersAtStart;       // cs_tx
    QString ShowTipAtStart;             // cs_mryt
    QString UsePos;                     // cs_posblur

    // ---- Cached rights of the current role ----
    bool RightShowCost = false;        // qtcz 16 显示商品成本价
    bool RightChangeDocDate = false;   // qtcz 17 允许更改单据日期
    bool RightShowSalePrice = false;   // qtcz 18 显示商品销售价
    bool RightEditSaleCost = false;    // xsgl 15 允许修改销售成本价

    // ---- Template names (files under report/) ----
    QString SalesTemplate;
    QString SalesReturnTemplate;
    QString TransferTemplate;
    QString PurchaseInTemplate;
    QString PurchaseReturnTemplate;
    QString DeptIssueTemplate;
    QString DeptReturnTemplate;
    QString ProductionInTemplate;
    QString ProductionReturnTemplate;

    // ---- Backup settings (first row of jxc_backup) ----
    int BackupHours = 0;        // back_sj
    QString BackupAuto;         // back_auto: "1" or "0"
    QString BackupOnExit;       // back_exit: "1" or "0"

    // ---- Member-points settings (first row of jxc_jfsz) ----
    QString PointsRule;             // jf_jfgz
    QString AmountPerPoint;         // jf_mfje
    QString ReferralPoints;         // jf_jsrjl
    QString DoublePoints;           // jf_dbjf
    QString DoublePointsFrom;       // jf_dbrq1
    QString DoublePointsTo;         // jf_dbrq2
    QString CarryPointsRemainder;   // jf_yelj
    QString GiftExchangeLimit;      // jf_icktype
    QString BirthdayPointsKind;     // jf_srjflx
    QString BirthdayPointsFactor;   // jf_srjfbs
    QString BirthdayPointsDays;     // jf_srjfts
    QString MemberDayDiscount;      // jf_hyrzk
    QString MemberDayActive;        // "1" when today is a member day

    // ---- SMS settings (first row of jxc_smscs) ----
    QString SmsSign;              // sms_sign
    QString SmsUser;              // sms_user
    QString SmsPassword;          // sms_pwd
    QString SmsTopUpTemplate;     // sms_cznote
    QString SmsPurchaseTemplate;  // sms_xfnote

    bool isAdministrator() const { return CurrentRoleSn == QLatin1String("100001"); }
};

// False for the empty text, "0" and "False" (exact, letter case counts); true otherwise.
bool IsTrue(const QString &flag);

// The flag counts as on unless it is exactly "0" or "False" (the empty text counts as on).
bool IsNotOff(const QString &flag);

// The flag counts as true unless it is exactly "0" or "False" (the empty text counts as true);
// scope "all" also needs RightShowCost and RightShowSalePrice, "cj" RightShowCost, "xs"
// RightShowSalePrice; any other scope tests the flag alone.
bool IsTrueWithCostRight(const LoginState &state, const QString &flag, const QString &scope);

// Fills everything but the login fields from the open account set. Every parameter is first
// reset to its default (the default row of jxc_xtcs), so a column an older set lacks never
// keeps the previous account set's value. Errors reading jxc_company or jxc_backup raise
// DbError; errors of the member-points and SMS settings are swallowed.
void LoadSysParams(const QSqlDatabase &db, LoginState &state, const Clock &clock);

// Copies the five SMS columns of the first row of jxc_smscs (empty without a row).
void LoadSmsParams(const QSqlDatabase &db, LoginState &state);
