#pragma once

#include <QString>
#include <QVariantList>

// The statement of a list window, as rules hand it to the screen's SqlGridModel: the select
// without its order clause, the order clause, and the values bound to the body's placeholders.
struct ListStatement
{
    QString body;
    QString order;
    QVariantList binds;
};
