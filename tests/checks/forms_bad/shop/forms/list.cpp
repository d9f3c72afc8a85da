// A form that runs its own statement: the forms check must name it.
#include <QSqlQuery>
void Reload(QSqlQuery &q) { q.exec(QStringLiteral("select id, g_sn from jxc_goods where g_sn = ?")); }
