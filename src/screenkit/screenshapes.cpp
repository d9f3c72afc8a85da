#include "screenkit/screenshapes.h"

int BarcodePanelTop(int windowHeight, int entryPageHeight)
{
    return windowHeight <= 650 ? 388 : entryPageHeight - 150;
}

int PendingLowerHeight(int windowHeight)
{
    return windowHeight <= 650 ? 245 : (windowHeight - 260) / 2;
}

int BasketWidth(int formWidth, int designed)
{
    return formWidth <= 1300 ? designed : formWidth / 2 - 100;
}

QString FutureDateQuestion(const QDate &chosen, const QDate &today)
{
    const QString f = QStringLiteral("yyyy-MM-dd");
    return QStringLiteral("您选择的日期：") + chosen.toString(f) + QStringLiteral("，") + QStringLiteral("\r\n\r\n")
           + QStringLiteral("大于计算机的当前日期：") + today.toString(f) + QStringLiteral("，")
           + QStringLiteral("\r\n\r\n") + QStringLiteral("确认继续吗？");
}
