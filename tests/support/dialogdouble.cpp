#include "dialogdouble.h"

int DialogDouble::exec()
{
    QVariantMap inputs{{"class", objectName()}};
    for (const QByteArray &name : dynamicPropertyNames())
        inputs.insert(QString::fromLatin1(name), property(name));
    opened().append(inputs);
    for (auto it = answers.cbegin(); it != answers.cend(); ++it)
        setProperty(it.key().toLatin1().constData(), it.value());
    return result;
}

QList<QVariantMap> &DialogDouble::opened()
{
    static QList<QVariantMap> list;
    return list;
}
