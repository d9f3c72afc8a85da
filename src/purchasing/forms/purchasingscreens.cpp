#include "purchasing/forms/purchasingscreens.h"

#include "purchasing/forms/cgd.h"
#include "purchasing/forms/cgd_modi.h"
#include "purchasing/forms/cgth_zdth_search.h"
#include "purchasing/forms/cgth_zdth_search_ghssele.h"
#include "purchasing/forms/jthcx.h"
#include "purchasing/forms/cgjh.h"
#include "purchasing/forms/cgth.h"
#include "purchasing/forms/cgjh_add.h"
#include "purchasing/forms/cgjh_importdd.h"
#include "purchasing/forms/cgjh_sele.h"
#include "purchasing/forms/modidatejh.h"
#include "purchasing/forms/yfkgl_fk.h"

const PurchaseScreens &PurchaseScreensOf(PurchaseKind kind)
{
    static const PurchaseScreens receipt{"TF_Cgjh_Sele", "商品信息(采购进货)", "TF_Cgjh_Add", "增加商品(采购进货)"};
    static const PurchaseScreens purchaseReturn{"TF_Cgth_Sele", "商品信息(采购退货)", "TF_Cgth_Add", "增加商品(采购退货)"};
    static const PurchaseScreens order{"TF_Cgd_Sele", "商品信息(采购订单)", "TF_Cgd_Add", "增加商品(采购订单)"};
    switch (kind) {
    case PurchaseKind::Return:
        return purchaseReturn;
    case PurchaseKind::Order:
        return order;
    case PurchaseKind::Receipt:
        break;
    }
    return receipt;
}

void RegisterPurchasingScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Cgjh"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Cgjh(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Cgth"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Cgth(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Cgjh_ImportDD"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Cgjh_ImportDD(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Cgd"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Cgd(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Yfkgl_Fk"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Yfkgl_Fk(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_ModiDateJh"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_ModiDateJh(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Cgd_Modi"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Cgd_Modi(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Jthcx"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Jthcx(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Cgth_Zdth_Search"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Cgth_Zdth_Search(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Cgth_Zdth_Search_GhsSele"),
                            [](const ScreenContext &c, QWidget *parent) -> QDialog * {
                                return new TF_Cgth_Zdth_Search_GhsSele(c, parent);
                            });
    for (const PurchaseKind kind : {PurchaseKind::Receipt, PurchaseKind::Return, PurchaseKind::Order}) {
        const PurchaseScreens &names = PurchaseScreensOf(kind);
        registry.registerScreen(QString::fromLatin1(names.lineDialog),
                                [kind](const ScreenContext &c, QWidget *parent) -> QDialog * {
                                    return new TF_Cgjh_Sele(kind, c, parent);
                                });
        registry.registerScreen(QString::fromLatin1(names.picker),
                                [kind](const ScreenContext &c, QWidget *parent) -> QDialog * {
                                    return new TF_Cgjh_Add(kind, c, parent);
                                });
    }
}
