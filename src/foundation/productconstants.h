#pragma once

#include <QString>

// The fixed texts of the product: the brand word of every caption and the version text.
struct ProductConstants
{
    QString makerWebAddress;
    QString makerPhone;
    QString makerCompanyName;
    QString makerSoftwareName;
    QString brandWord;
    QString versionText;
};

// Assigns the product constants (idempotent) and returns them.
const ProductConstants &SetProductConstants();
const ProductConstants &Product();
