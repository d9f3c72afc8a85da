#include "screenkit/partnergrid.h"

#include "foundation/partnerlists.h"

GridModel *NewPartnerGridModel(const PartnerList *list, const QList<GridColumn> &columns, QObject *parent)
{
    auto *model = new RowSetModel(parent);
    model->setColumns(columns);
    QStringList fields;
    for (const GridColumn &c : columns)
        fields << c.field;
    model->setLoader([list, fields] {
        QList<QVariantMap> rows;
        for (int r = 0; r < list->rowCount(); ++r) {
            QVariantMap row;
            for (const QString &f : fields)
                row.insert(f, list->value(r, f));
            rows << row;
        }
        return rows;
    });
    return model;
}
