#pragma once

// What every screen shares: font size from the login state, a key table that acts before the
// focused control, Enter to the next control, the `opened` hook, BusyGuard.

#include <QDialog>
#include <QHash>
#include <QKeySequence>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <functional>

class QAbstractButton;

// The interface font size: the login state's UiFontSize, 10 points when unknown.
int InterfaceFontSize(int uiFontSize);
void ApplyInterfaceFont(QWidget *screen, int uiFontSize);

// The key table of one screen. Keys are caught before the focused control (text boxes
// included) as long as the key goes to a widget of the screen's own window; an open grid
// edit is confirmed before the command runs.
class ScreenKeys final : public QObject
{
    Q_OBJECT

public:
    explicit ScreenKeys(QWidget *screen);
    ~ScreenKeys() override;

    void bind(const QKeyCombination &key, std::function<void()> action);
    void unbind(const QKeyCombination &key);
    // Enter moves to the next control, except in controls that own Enter (search and barcode
    // boxes, grids, buttons).
    void setEnterMovesFocus(bool on) { m_enterMoves = on; }
    void addEnterOwner(QWidget *widget) { m_enterOwners.insert(widget); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_screen;
    QHash<int, std::function<void()>> m_actions;
    QSet<QWidget *> m_enterOwners;
    bool m_enterMoves = false;
};

// Confirms the open edits of every grid inside `screen` (window commands call it first).
void ConfirmGridEdits(QWidget *screen);

// A window screen (MDI page or top-level form).
class ScreenWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ScreenWindow(int uiFontSize, QWidget *parent = nullptr);
    ScreenKeys *keys() const { return m_keys; }
    void setStayOnTop(bool on);
    void setUiFontSize(int size);

Q_SIGNALS:
    // Each time the screen is shown; not when a dialog or preview opened from it closes.
    void opened();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ScreenKeys *m_keys;
    int m_fontSize;
};

// A dialog screen.
class ScreenDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ScreenDialog(int uiFontSize, QWidget *parent = nullptr);
    ScreenKeys *keys() const { return m_keys; }
    void setStayOnTop(bool on);

Q_SIGNALS:
    void opened();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ScreenKeys *m_keys;
    int m_fontSize;
};

// "Disable the button and let pending window messages run": while the guard lives, the button
// is disabled, repaints go on, input is held back, and a second start of the same command
// does nothing (acquired() is false).
class BusyGuard final
{
public:
    explicit BusyGuard(QAbstractButton *button);
    ~BusyGuard();
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;
    bool acquired() const { return m_acquired; }

private:
    QPointer<QAbstractButton> m_button;
    bool m_acquired = false;
    bool m_wasEnabled = true;
};
