#include "screenkit/fontchain.h"

#include <QFont>
#include <QGuiApplication>

QStringList InterfaceFontFamilies()
{
    return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
}

void ApplyInterfaceFontChain(QGuiApplication &app)
{
    QFont font = QGuiApplication::font();
    font.setFamilies(InterfaceFontFamilies());
    app.setFont(font);
}
