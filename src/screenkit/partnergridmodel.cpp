#include "screenkit/partnergridmodel.h"

#include "foundation/partnerlists.h"

RowSetModel *NewPartnerGridModel(const PartnerList &list, const QList<GridColumn> &columns, QObject *parent)
{
    auto *model = new RowSetModel(parent);
    model->setColumns(columns);
    QStringList fields;
    for (const GridColumn &c : columns)
        fields << c.field;
    model->setLoader([&list, fields] {
        QList<QVariantMap> rows;
        rows.reserve(list.rowCount());
        for (int r = 0; r < list.rowCount(); ++r) {
            QVariantMap row;
            for (const QString &f : fields)
                row.insert(f, list.value(r, f));
            rows.append(row);
        }
        return rows;
    });
    model->reload();
    return model;
}
