#include "screens_fixture.h"

#include "purchase_fixture.h"

#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/cgjh.h"
#include "purchasing/forms/purchasingscreens.h"

#include <QDynamicPropertyChangeEvent>

void PurchaseScreenTest::SetUp()
{
    clock.set(QDateTime(QDate(2025, 3, 14), QTime(9, 30, 0)));
    ScreenFixture::SetUp();
    if (IsSkipped())
        return;
    DialogDouble::opened().clear();
    reloadState();
    AddPurchaseGoods(db());
    RegisterMasterdataScreens(registry);
    RegisterPurchasingScreens(registry);
}

void PurchaseScreenTest::reloadState()
{
    ScreenFixture::reloadState();
    SetPurchaseDefaults(state);
}

void PurchaseScreenTest::installDouble(const QString &screenClass, const QVariantMap &answers, int result)
{
    registry.registerScreen(screenClass, [screenClass, answers, result](const ScreenContext &, QWidget *parent) -> QDialog * {
        auto *d = new DialogDouble(screenClass, parent);
        d->answers = answers;
        d->result = result;
        return d;
    });
}

QDialog *PurchaseScreenTest::openWindow()
{
    window.reset(registry.create(QStringLiteral("TF_Cgjh"), QStringLiteral("采购进货"), context()));
    if (auto *cgjh = qobject_cast<TF_Cgjh *>(window.get()))
        cgjh->setReportOutput(&output);
    window->show();
    QApplication::setActiveWindow(window.get());
    return window.get();
}
