#include "masterdata/forms/masterdatascreens.h"

#include "masterdata/forms/ckgl.h"
#include "masterdata/forms/ckgl_add.h"
#include "masterdata/forms/dept.h"
#include "masterdata/forms/dept_sele.h"
#include "masterdata/forms/dwgl.h"
#include "masterdata/forms/ghsgl_jm.h"
#include "masterdata/forms/khgl.h"
#include "masterdata/forms/khgl_add.h"
#include "masterdata/forms/khgl_search.h"
#include "masterdata/forms/khgl_type.h"
#include "masterdata/forms/khgl_type_sele.h"
#include "masterdata/forms/spxxgl.h"
#include "masterdata/forms/spxxgl_add.h"
#include "masterdata/forms/spxxgl_dw.h"
#include "masterdata/forms/spxxgl_modi.h"
#include "masterdata/forms/user.h"
#include "masterdata/forms/user2.h"
#include "masterdata/forms/user_add.h"
#include "masterdata/forms/zone.h"

#include "foundation/forms/combofill.h"
#include "screenkit/editors.h"

#include <QDialog>

namespace {

// Registers `screenClass` made by `make`.
template <typename Make>
void add(ScreenRegistry &registry, const QString &screenClass, Make make)
{
    registry.registerScreen(screenClass, [make](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return make(c, parent);
    });
}

void RegisterPartnerScreens(ScreenRegistry &registry)
{
    for (PartnerKind kind : {PartnerKind::Customer, PartnerKind::Supplier}) {
        const PartnerKindInfo &k = PartnerKindOf(kind);
        add(registry, QString::fromLatin1(k.listClass),
            [kind](const ScreenContext &c, QWidget *p) { return new TF_PartnerList(kind, c, p); });
        add(registry, QString::fromLatin1(k.addClass),
            [kind](const ScreenContext &c, QWidget *p) { return new TF_PartnerEdit(kind, false, c, p); });
        add(registry, QString::fromLatin1(k.modifyClass),
            [kind](const ScreenContext &c, QWidget *p) { return new TF_PartnerEdit(kind, true, c, p); });
    }
    for (SearchDialogKind kind : {SearchDialogKind::Customers, SearchDialogKind::Suppliers,
                                  SearchDialogKind::Warehouses, SearchDialogKind::Employees})
        add(registry, TF_MasterSearch::className(kind),
            [kind](const ScreenContext &c, QWidget *p) { return new TF_MasterSearch(kind, c, p); });
    add(registry, QStringLiteral("TF_Ghsgl_Jm"), [](const ScreenContext &c, QWidget *p) { return new TF_Ghsgl_Jm(c, p); });
    add(registry, QStringLiteral("TF_Khgl_Type"), [](const ScreenContext &c, QWidget *p) { return new TF_Khgl_Type(c, p); });
    add(registry, QStringLiteral("TF_Khgl_Type_Sele"),
        [](const ScreenContext &c, QWidget *p) { return new TF_Khgl_Type_Sele(c, p); });
    add(registry, QStringLiteral("TF_Ghsgl_Type"),
        [](const ScreenContext &c, QWidget *p) { return new TF_BasicList(BasicListKind::SupplierTypes, c, p); });
    add(registry, QStringLiteral("TF_Zone"),
        [](const ScreenContext &c, QWidget *p) { return new TF_BasicList(BasicListKind::Regions, c, p); });
}

void RegisterStaffScreens(ScreenRegistry &registry)
{
    add(registry, QStringLiteral("TF_Ckgl"), [](const ScreenContext &c, QWidget *p) { return new TF_Ckgl(c, p); });
    add(registry, QStringLiteral("TF_Ckgl_Add"), [](const ScreenContext &c, QWidget *p) { return new TF_Ckgl_Edit(false, c, p); });
    add(registry, QStringLiteral("TF_Ckgl_Modi"), [](const ScreenContext &c, QWidget *p) { return new TF_Ckgl_Edit(true, c, p); });
    add(registry, QStringLiteral("TF_User"), [](const ScreenContext &c, QWidget *p) { return new TF_User(c, p); });
    add(registry, QStringLiteral("TF_User_Add"), [](const ScreenContext &c, QWidget *p) { return new TF_User_Edit(false, c, p); });
    add(registry, QStringLiteral("TF_User_Modi"), [](const ScreenContext &c, QWidget *p) { return new TF_User_Edit(true, c, p); });
    add(registry, QStringLiteral("TF_User2"), [](const ScreenContext &c, QWidget *p) { return new TF_User2(c, p); });
    add(registry, QStringLiteral("TF_Dept"), [](const ScreenContext &c, QWidget *p) { return new TF_Dept(c, p); });
    add(registry, QStringLiteral("TF_Dept_Sele"), [](const ScreenContext &c, QWidget *p) { return new TF_Dept_Sele(c, p); });
}

}  // namespace

void RegisterMasterdataScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Spxxgl"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Spxxgl_Add"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl_Add(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Spxxgl_Modi"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl_Modi(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Spxxgl_Dw"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl_Dw(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Spxxgl_Tm"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl_Tm(c, parent);
    });
    for (LookupKind kind : LookupKinds()) {
        const LookupMember &m = LookupMemberOf(kind);
        registry.registerScreen(QString::fromLatin1(m.listClass),
                                [kind](const ScreenContext &c, QWidget *parent) -> QDialog * {
                                    return new TF_LookupList(kind, c, parent);
                                });
        registry.registerScreen(QString::fromLatin1(m.addClass),
                                [kind](const ScreenContext &c, QWidget *parent) -> QDialog * {
                                    return new TF_LookupAdd(kind, c, parent);
                                });
    }
    RegisterPartnerScreens(registry);
    RegisterStaffScreens(registry);
}

QVariant KeyedItemsProperty(const KeyedItems &items)
{
    QVariantList list;
    for (const KeyedItem &i : items)
        list << QVariant(QStringList{i.text, i.key});
    return list;
}

KeyedItems KeyedItemsOf(const QVariant &property)
{
    KeyedItems items;
    for (const QVariant &v : property.toList()) {
        const QStringList pair = v.toStringList();
        if (pair.size() == 2)
            items << KeyedItem{pair.at(0), pair.at(1)};
    }
    return items;
}

bool ApplyHandlerAnswer(const QDialog *chooser, KeyedCombo *combo)
{
    const QVariant items = chooser->property(handoff::HandlerItems);
    if (!items.isValid())
        return false;
    FillKeyedCombo(combo, KeyedItemsOf(items));
    combo->setCurrentIndex(chooser->property(handoff::HandlerSelected).toInt());
    return true;
}

bool ApplyDepartmentAnswer(const QDialog *window, KeyedCombo *combo, const std::function<void()> &reload)
{
    const QVariant items = window->property(handoff::DeptItems);
    if (items.isValid()) {
        FillKeyedCombo(combo, KeyedItemsOf(items));
        combo->selectText(window->property(handoff::DeptSelect).toString());
        return true;
    }
    if (window->property(handoff::DeptReload).toBool()) {
        if (reload)
            reload();
        return true;
    }
    return false;
}
