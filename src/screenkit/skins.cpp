#include "screenkit/skins.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace {

struct Skin
{
    const char *name;
    QRgb window;     // forms and panels
    QRgb base;       // lists and edit boxes
    QRgb alternate;  // every other grid row
    QRgb button;
    QRgb highlight;  // current row
    QRgb text;       // all text; dark on light skins so red footers and rows stay visible
    QRgb header;     // grid headers
};

// In the chooser's order.
const Skin kSkins[] = {
    {"Blueprint", 0xdde7f3, 0xffffff, 0xf0f5fb, 0xc9d8ec, 0x2f6db5, 0x10243e, 0xbfd1ea},
    {"GlassOceans", 0xd6ecf2, 0xffffff, 0xeef8fb, 0xbfe0ea, 0x1f8fb3, 0x0c2b36, 0xb4dbe6},
    {"iMaginary", 0xeef0f4, 0xffffff, 0xf6f7f9, 0xe1e5ec, 0x6a8fc8, 0x1a1a1a, 0xdde2ea},
    {"Lilian", 0xf1e9f3, 0xffffff, 0xf9f4fa, 0xe4d5e8, 0x9a5fa8, 0x2a1530, 0xe0cfe5},
    {"LiquidSky", 0xe3effa, 0xffffff, 0xf2f8fd, 0xcfe3f6, 0x3a8ee0, 0x0f2236, 0xc8def4},
    {"McSkin", 0xe9e9e9, 0xffffff, 0xf5f5f5, 0xdadada, 0x5b7fb0, 0x1b1b1b, 0xd2d2d2},
    {"Metropolis", 0xf3f3f3, 0xffffff, 0xf8f8f8, 0xe6e6e6, 0x3b78c2, 0x202020, 0xe1e1e1},
    {"Office2007Green", 0xe4efdc, 0xffffff, 0xf3f8ef, 0xd3e6c6, 0x5f9a3c, 0x15260c, 0xcde2bd},
    {"Office2007Pink", 0xf6e3ea, 0xffffff, 0xfbf2f5, 0xefd0dc, 0xc2577e, 0x33121f, 0xecc9d6},
    {"Office2010Silver", 0xe8ebef, 0xffffff, 0xf4f6f8, 0xdce0e6, 0x6b8cb8, 0x1d2128, 0xd7dce3},
    {"Office2013White", 0xffffff, 0xffffff, 0xf7f7f7, 0xf0f0f0, 0x2b79c2, 0x262626, 0xf2f2f2},
    {"Pumpkin", 0xf6e8d6, 0xfffaf3, 0xfbf1e4, 0xf0d7b5, 0xd07a1c, 0x33200a, 0xefd2ad},
    {"Sharp", 0xd9d9d9, 0xffffff, 0xeeeeee, 0xc8c8c8, 0x404a5c, 0x111111, 0xc2c2c2},
    {"SpringTime", 0xeaf4e2, 0xffffff, 0xf5faf1, 0xdcecd0, 0x6aa84f, 0x1a2b12, 0xd5e8c6},
    {"Stardust", 0xe6e3dc, 0xfdfcf9, 0xf3f1ec, 0xd8d3c8, 0x8a7a5a, 0x231f17, 0xd3cdc0},
    {"Summer2008", 0xf8f1d8, 0xffffff, 0xfcf8ea, 0xf1e3b3, 0xd8a31e, 0x2e240a, 0xeedcaa},
    {"TheAsphaltWorld", 0xdcdcdc, 0xf9f9f9, 0xececec, 0xcacaca, 0x55606e, 0x141414, 0xc4c4c4},
    {"Valentine", 0xf8e1e4, 0xffffff, 0xfcf1f2, 0xf1c9cf, 0xc23b55, 0x330d15, 0xefc2c9},
    {"Whiteprint", 0xf7f9fb, 0xffffff, 0xfbfcfd, 0xeceff3, 0x4d79a8, 0x1a2430, 0xe8ecf1},
    {"Xmas2008Blue", 0xdfe9f5, 0xffffff, 0xf0f5fb, 0xcad9ec, 0x2c5c9a, 0x0f1e33, 0xc2d4ea},
};

QString &applied()
{
    static QString name;
    return name;
}

// `a` moved `share` of the way towards `b`.
QColor Mix(const QColor &a, const QColor &b, double share)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * share),
                            float(a.greenF() + (b.greenF() - a.greenF()) * share),
                            float(a.blueF() + (b.blueF() - a.blueF()) * share));
}

QString Hex(const QColor &c)
{
    return QString::number(c.rgb() & 0xffffff, 16).rightJustified(6, QLatin1Char('0'));
}

} // namespace

const QStringList &SkinNames()
{
    static const QStringList names = [] {
        QStringList out;
        for (const Skin &s : kSkins)
            out << QString::fromLatin1(s.name);
        return out;
    }();
    return names;
}

bool IsKnownSkin(const QString &name)
{
    return SkinNames().contains(name);
}

bool ApplySkin(const QString &name)
{
    const Skin *skin = nullptr;
    for (const Skin &s : kSkins) {
        if (name == QLatin1String(s.name))
            skin = &s;
    }
    if (!skin)
        return false;
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QPalette p;
    const QColor text(skin->text);
    p.setColor(QPalette::Window, QColor(skin->window));
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(skin->base));
    p.setColor(QPalette::AlternateBase, QColor(skin->alternate));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(skin->button));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(skin->highlight));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(skin->base));
    p.setColor(QPalette::ToolTipText, text);
    // Disabled controls, menu entries and placeholder texts are muted: their text half way to
    // the background, disabled and read-only boxes on the window's colour.
    const QColor window(skin->window);
    const QColor base(skin->base);
    const QColor muted = Mix(text, window, 0.55);
    const QColor ground = window == base ? base.darker(107) : window;  // of boxes not to type in
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, muted);
    p.setColor(QPalette::Disabled, QPalette::Base, ground);
    p.setColor(QPalette::Disabled, QPalette::Button, Mix(QColor(skin->button), window, 0.5));
    p.setColor(QPalette::Disabled, QPalette::Highlight, Mix(QColor(skin->highlight), window, 0.6));
    p.setColor(QPalette::Disabled, QPalette::HighlightedText, window);
    p.setColor(QPalette::Disabled, QPalette::Light, window);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::PlaceholderText, Mix(text, base, 0.55));
    QApplication::setPalette(p);
    qApp->setStyleSheet(QStringLiteral(
                            // No text colour here: the grid's bold red current-column caption comes from the model.
                            "QHeaderView::section { background-color: #%1; padding: 2px 4px;"
                            " border: 0px; border-right: 1px solid #%2; border-bottom: 1px solid #%2; }"
                            "QTableView { gridline-color: #%2; }"
                            // A read-only box shows the window's colour, as a disabled one does.
                            "QLineEdit[readOnly=\"true\"] { background-color: #%3; border: 1px solid #%2;"
                            " border-radius: 2px; padding: 1px 2px; }")
                            .arg(Hex(QColor(skin->header)), Hex(QColor(skin->header).darker(115)), Hex(ground)));
    applied() = name;
    return true;
}

QString AppliedSkin()
{
    return applied();
}
