#include "screenkit/screenbase.h"

#include "screenkit/datagrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

int InterfaceFontSize(int uiFontSize)
{
    return uiFontSize > 0 ? uiFontSize : 10;
}

void ApplyInterfaceFont(QWidget *screen, int uiFontSize)
{
    QFont f = screen->font();
    f.setPointSize(InterfaceFontSize(uiFontSize));
    screen->setFont(f);
}

void ConfirmGridEdits(QWidget *screen)
{
    for (DataGrid *grid : screen->findChildren<DataGrid *>())
        grid->confirmEdit();
}

ScreenKeys::ScreenKeys(QWidget *screen) : QObject(screen), m_screen(screen)
{
    qApp->installEventFilter(this);
}

ScreenKeys::~ScreenKeys()
{
    qApp->removeEventFilter(this);
}

void ScreenKeys::bind(const QKeyCombination &key, std::function<void()> action)
{
    m_actions.insert(key.toCombined(), std::move(action));
}

void ScreenKeys::unbind(const QKeyCombination &key)
{
    m_actions.remove(key.toCombined());
}

bool ScreenKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    // Only keys meant for this screen's own window (a dialog opened from it has its own).
    if (widget != m_screen && !m_screen->isAncestorOf(widget))
        return false;
    if (widget->window() != m_screen->window() || !m_screen->isVisible())
        return false;
    // A key a control ignored travels on to its parents: act on the first delivery only.
    QWidget *focus = widget->window()->focusWidget();
    if (focus && focus != widget)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const int combined = QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())).toCombined();
    auto it = m_actions.constFind(combined);
    if (it != m_actions.constEnd()) {
        ConfirmGridEdits(m_screen);
        const auto action = it.value();  // the action may rebind keys
        action();
        return true;
    }
    if (m_enterMoves && focus == widget && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        && key->modifiers() == Qt::NoModifier) {
        for (QWidget *w = widget; w && w != m_screen; w = w->parentWidget()) {
            if (m_enterOwners.contains(w) || qobject_cast<DataGrid *>(w) || qobject_cast<QAbstractButton *>(w)
                || qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w))
                return false;
        }
        // The next control in the tab order that takes the focus from the keyboard.
        for (QWidget *next = widget->nextInFocusChain(); next && next != widget; next = next->nextInFocusChain()) {
            if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled()
                && next->window() == widget->window() && !next->focusProxy()) {
                next->setFocus(Qt::TabFocusReason);
                break;
            }
        }
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------

ScreenWindow::ScreenWindow(int uiFontSize, QWidget *parent)
    : QWidget(parent), m_keys(new ScreenKeys(this)), m_fontSize(uiFontSize)
{
    ApplyInterfaceFont(this, m_fontSize);
}

void ScreenWindow::setStayOnTop(bool on)
{
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

void ScreenWindow::setUiFontSize(int size)
{
    m_fontSize = size;
    ApplyInterfaceFont(this, m_fontSize);
}

void ScreenWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;  // the window system re-showing it (a dialog closed, restored from minimised)
    ApplyInterfaceFont(this, m_fontSize);
    Q_EMIT opened();
}

ScreenDialog::ScreenDialog(int uiFontSize, QWidget *parent)
    : QDialog(parent), m_keys(new ScreenKeys(this)), m_fontSize(uiFontSize)
{
    ApplyInterfaceFont(this, m_fontSize);
}

void ScreenDialog::setStayOnTop(bool on)
{
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

void ScreenDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    ApplyInterfaceFont(this, m_fontSize);
    Q_EMIT opened();
}

// ---------------------------------------------------------------------------------------------

BusyGuard::BusyGuard(QAbstractButton *button) : m_button(button)
{
    if (!button || button->property("jxcBusy").toBool())
        return;
    m_acquired = true;
    m_wasEnabled = button->isEnabled();
    button->setProperty("jxcBusy", true);
    button->setEnabled(false);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BusyGuard::~BusyGuard()
{
    if (!m_acquired || !m_button)
        return;
    m_button->setProperty("jxcBusy", false);
    m_button->setEnabled(m_wasEnabled);
}
