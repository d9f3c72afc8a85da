#include "screenkit/screengeometry.h"

#include "platform/system/programfolder.h"
#include "screenkit/datagrid.h"

#include <QDir>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>

namespace {

QRect Available(const QWidget *screen)
{
    const QScreen *s = screen->screen() ? screen->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

// `rect` moved (and shrunk where it must) into `area`.
QRect Inside(QRect rect, const QRect &area)
{
    if (area.isEmpty())
        return rect;
    rect.setWidth(qMin(rect.width(), area.width()));
    rect.setHeight(qMin(rect.height(), area.height()));
    rect.moveLeft(qBound(area.left(), rect.left(), area.right() - rect.width() + 1));
    rect.moveTop(qBound(area.top(), rect.top(), area.bottom() - rect.height() + 1));
    return rect;
}

class GeometryKeeper final : public QObject
{
public:
    GeometryKeeper(QWidget *screen, const QString &operatorName)
        : QObject(screen), m_screen(screen), m_operator(operatorName)
    {
        screen->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_screen || event->spontaneous())
            return false;
        if (event->type() == QEvent::Show && !m_placed) {
            m_placed = true;
            const QRect kept = KeptScreenGeometry(m_operator, m_screen->objectName());
            if (kept.isValid())
                m_screen->setGeometry(Inside(kept, Available(m_screen)));
            else  // after the screen's own first showing has filled its grids
                QTimer::singleShot(0, this, [this] { fitFooters(); });
        } else if (event->type() == QEvent::Hide && m_placed) {
            const QRect g = m_screen->geometry();
            QSettings file(ScreenGeometryFilePath(), QSettings::IniFormat);
            file.beginGroup(m_operator);
            file.setValue(m_screen->objectName(),
                          QStringLiteral("%1,%2,%3,%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()));
            file.endGroup();
        }
        return false;
    }

private:
    void fitFooters()
    {
        const QRect area = Available(m_screen);
        const int wanted = WidthShowingFooters(m_screen, area.isEmpty() ? QWIDGETSIZE_MAX : area.width());
        if (wanted <= m_screen->width())
            return;
        QRect g = m_screen->geometry();
        g.adjust(-(wanted - g.width()) / 2, 0, 0, 0);
        g.setWidth(wanted);
        m_screen->setGeometry(Inside(g, area));
    }

    QWidget *m_screen;
    QString m_operator;
    bool m_placed = false;
};

} // namespace

QString ScreenGeometryFilePath()
{
    return QDir(ProgramFolder()).filePath(QStringLiteral("Layout/windows.ini"));
}

QRect KeptScreenGeometry(const QString &operatorName, const QString &screenName)
{
    if (!QFile::exists(ScreenGeometryFilePath()))
        return QRect();
    QSettings file(ScreenGeometryFilePath(), QSettings::IniFormat);
    file.beginGroup(operatorName);
    const QStringList parts = file.value(screenName).toString().split(QLatin1Char(','));
    if (parts.size() != 4)
        return QRect();
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts.at(i).toInt(&ok);
        if (!ok)
            return QRect();
    }
    if (v[2] < 50 || v[3] < 50 || v[2] > 20000 || v[3] > 20000)
        return QRect();
    return QRect(v[0], v[1], v[2], v[3]);
}

void RememberScreenGeometry(QWidget *screen, const QString &operatorName)
{
    if (!screen || screen->objectName().isEmpty() || operatorName.isEmpty())
        return;
    new GeometryKeeper(screen, operatorName);
}

int WidthShowingFooters(const QWidget *screen, int maxWidth)
{
    int lack = 0;
    for (const DataGrid *grid : screen->findChildren<DataGrid *>()) {
        if (!grid->hasFooter() || !grid->isVisibleTo(screen) || !grid->model())
            continue;
        const QWidget *bar = grid->footerBar();
        const QWidget *viewport = grid->view()->viewport();
        const int viewportRight = viewport->mapTo(screen, QPoint(viewport->width(), 0)).x();
        QFont bold = bar->font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        for (const GridColumn &c : grid->model()->columns()) {
            const QString text = grid->footerText(c.field);
            const QRect cell = grid->footerCellRect(c.field);
            if (text.isEmpty() || cell.isEmpty())
                continue;
            const int left = bar->mapTo(screen, cell.topLeft()).x();
            const int right = qMax(left + cell.width(), left + metrics.horizontalAdvance(text) + 8);
            lack = qMax(lack, right - viewportRight);
        }
    }
    return qMin(maxWidth, screen->width() + lack);
}
