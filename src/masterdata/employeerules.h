#pragma once

// Employees (jxc_user), the handlers and salesmen of documents: the list and its searches, add,
// modify with the push of a new name into ledger, cash and amount rows and the customers'
// salesman lists, delete, disabling. Refusals and questions through the notice service; one
// transaction per action. QtCore + QtSql.

#include "masterdata/recordsave.h"
#include "masterdata/searchcriteria.h"

#include "foundation/db/liststatement.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

class Notices;
struct LoginState;

inline constexpr const char *kCommissionOnSales = "按销售额提成";
inline constexpr const char *kCommissionOnMargin = "按毛利提成";

struct EmployeeInput
{
    QString name;
    QString duty;  // 所任职务
    double rate = 0;          // 提成比例, percent
    int mode = 0;             // 0 按销售额提成, 1 按毛利提成
    int margin = 0;           // 单个商品毛利超过 … 元开始提成 (mode 1 only)
    QString telephone;
    QString address;
    QString note;
    bool purchasing = true;   // u_cg 进货管理
    bool sales = true;        // u_xs 销售管理
    bool stock = true;        // u_kc 库存管理
    bool disabled = false;    // u_jy
    // The chosen binding item; an empty key keeps the stored binding.
    QString warehouseSn;
    QString warehouseName;
};

struct EmployeeSearchTexts
{
    QString name;  // name or short code
    QString duty;
    QString telephone;
    QString address;
};

class EmployeeRules
{
public:
    EmployeeRules(const QSqlDatabase &db, const LoginState &state, Notices &notices)
        : m_db(db), m_state(state), m_notices(notices)
    {
    }

    // Employees by id, disabled ones listed; under the binding only those of "-1" or of the
    // operator's warehouses. `enabledOnly`: the handler chooser's list.
    ListStatement statement(bool enabledOnly = false) const;
    // The key box: one term over name, short code, post, telephone and address.
    static SearchCriteria keywordCriteria(const QString &key);
    // The search dialog: OR of the filled boxes.
    static SearchCriteria searchCriteria(const EmployeeSearchTexts &texts);

    QVariantMap record(qint64 id) const;

    RecordSaveResult add(const EmployeeInput &input);
    RecordSaveResult modify(qint64 id, const EmployeeInput &input);
    bool remove(qint64 id);
    bool setDisabled(qint64 id, bool disabled);
    bool inUse(const QString &code, const QString &name) const;

private:
    QString refusal(const EmployeeInput &input, qint64 exceptId) const;
    void renameInSalesmanLists(const QString &oldName, const QString &newName);

    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
};

// The salesman list `list` ("张三,张三丰,") with every entry equal to `oldName` (letter case
// ignored) replaced by `newName`, order and commas kept.
QString RenameInCommaList(const QString &list, const QString &oldName, const QString &newName);
