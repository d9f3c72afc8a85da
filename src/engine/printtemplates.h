#pragma once

// Which template prints a stored document, by the first two characters of its number.

#include <QString>

struct LoginState;

// The template name ("cgjh2.fr3" …) of a document prefix: the login state's template names
// where it has one (CJ PurchaseInTemplate, CT PurchaseReturnTemplate, XS SalesTemplate, XT
// SalesReturnTemplate, DB TransferTemplate, SC ProductionInTemplate, ST
// ProductionReturnTemplate, LY DeptIssueTemplate, LT DeptReturnTemplate; an empty one is
// worked out from the parameters and rights as the login does), else by the rights: CD
// cgd/cgd2, XD xsd/xsd2, BS and BY bsby/bsby2, CF cfd/cfd2, KB kbd/kbd2, LF bmbfd/bmbfd2; XH
// xshh, PD kcpdd, JH and HH khjh. The empty text for any other prefix.
QString TemplateForDocument(const QString &prefix, const LoginState &state);

// The print type of SetPrintVariables and the line-query code of GetPrintLinesSql for a
// document prefix ("CJ" → "cgjh", "CJ"; "HH" → "khjh", "khjh"; "ST" → "SC", "ST"; "LF" → "LY",
// "LT"). False for a prefix that has no stored-document print.
bool PrintCodesForDocument(const QString &prefix, QString *printType, QString *lineCode);
