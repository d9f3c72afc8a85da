#pragma once

// Transfers ("DB", jxc_kcdbd/jxc_dbsp), losses ("BS", jxc_bsd/jxc_bssp) and overflows ("BY",
// jxc_byd/jxc_bysp) as InventoryPosting describes them (inventoryposting.h); the audit entries
// RunAuditTransfer, RunAuditLoss and RunAuditOverflow (audit.h) run them.
//
// A transfer writes, per line in line order, a row "调拨入库" into ck_in, then per line a row
// "调拨出库" out of ck_out, both valued at db_dj per line unit (gl_dj per base unit), whatever the
// transfer price mode the lines were entered with; it moves neither g_kc nor g_pjjj. A loss
// writes one row "商品报损" per line with minus its quantity and amount, an overflow one row
// "商品报溢" with its own signs after each line took its own id as idck; both move g_kc and book
// their value in jxc_yyfy (费用 / 收入).

#include "engine/inventoryposting.h"

const InventoryKind &TransferInventoryKind();
const InventoryKind &LossInventoryKind();
const InventoryKind &OverflowInventoryKind();
