#pragma once

// The editors every screen uses: money and quantity boxes, date and time boxes, the period bar
// with its menu, keyed drop-down lists and the typed-character filters.

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimeEdit>
#include <QValidator>
#include <QWidget>

class Clock;
class NumberValidator;
class QLabel;
class QMenu;
class QToolButton;

// Money, prices and quantities. Shows the display format when it has no focus and the plain
// number while it is edited; typing is held to its decimals, values set by code stay whole.
class MoneyEdit final : public QLineEdit
{
    Q_OBJECT

public:
    explicit MoneyEdit(QWidget *parent = nullptr);

    void setDecimals(int decimals);        // also sets the maximum length to decimals + 13
    int decimals() const { return m_decimals; }
    void setDisplayFormat(const QString &format);
    QString displayFormat() const { return m_format; }
    void setMinusIgnored(bool ignored);    // the minus key does nothing (quantities of 5.112)

    double value() const { return m_value; }  // empty reads 0
    void setValue(double value);              // no signal when the value is the same
    QString plainText() const;                // the number as edited

Q_SIGNALS:
    void valueChanged(double value);  // only on a real change, typed or set
    void edited();                    // a key was released in the box

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void showValue();
    void onTextEdited(const QString &text);

    NumberValidator *m_validator;
    QString m_format;
    int m_decimals = 2;
    double m_value = 0.0;
    bool m_hasValue = false;
};

// Sets the box to `value` without its signals; a box keeps what is typed in it as long as its
// value stands ("2." stays "2."). Nothing for a null box.
void ShowValueQuietly(MoneyEdit *edit, double value);

// "yyyy-MM-dd", digits and backspace from the keyboard, never the locale's form.
class DateEdit final : public QDateEdit
{
    Q_OBJECT

public:
    explicit DateEdit(QWidget *parent = nullptr);
    QString dateText() const;
    // Takes the date part of "yyyy-MM-dd[ HH:mm[:ss]]"; other text changes nothing (false).
    bool setDateText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// "HH:mm:ss".
class TimeEdit final : public QTimeEdit
{
    Q_OBJECT

public:
    explicit TimeEdit(QWidget *parent = nullptr);
    QString timeText() const { return time().toString(QStringLiteral("HH:mm:ss")); }
};

// Two dates joined by "至", optional times, and the menu of periods.
class DateRangeBar final : public QWidget
{
    Q_OBJECT

public:
    // The clock must outlive the bar.
    explicit DateRangeBar(const Clock &clock, bool withTimes = false, QWidget *parent = nullptr);

    DateEdit *startEdit() const { return m_start; }
    DateEdit *endEdit() const { return m_end; }
    TimeEdit *startTimeEdit() const { return m_startTime; }
    TimeEdit *endTimeEdit() const { return m_endTime; }
    QMenu *menu() const { return m_menu; }
    QToolButton *menuButton() const { return m_button; }

    // Bounds for SQL: start "yyyy-MM-dd", end "yyyy-MM-dd 23:59:00" (with time editors their
    // times).
    QString sqlStart() const;
    QString sqlEnd() const;

    enum class Period { Today, Yesterday, DayBefore, LastSevenDays, LastMonth, ThisMonth, PreviousMonth, AllTime };
    void choose(Period period);

Q_SIGNALS:
    void periodChosen();

private:
    const Clock &m_clock;
    DateEdit *m_start;
    DateEdit *m_end;
    TimeEdit *m_startTime = nullptr;
    TimeEdit *m_endTime = nullptr;
    QToolButton *m_button;
    QMenu *m_menu;
};

// A drop-down list whose items carry a key ("-1" for "all"); unkeyed lists use it too.
class KeyedCombo final : public QComboBox
{
    Q_OBJECT

public:
    explicit KeyedCombo(QWidget *parent = nullptr);

    void addKeyed(const QString &text, const QString &key);
    // The key of an item; no item (or no selection) gives the empty text, never an error.
    QString keyAt(int index) const;
    QString currentKey() const { return keyAt(currentIndex()); }
    bool selectKey(const QString &key);
    bool selectText(const QString &text);
};

// The keys back (the names the screens know).
QString GetComboKey(const QComboBox *combo, int index);
QString GetTComboKey(const QComboBox *combo, int index);

// Characters a box refuses, also when pasted or dropped.
enum class CharFilter {
    Standard,        // ! " % & ' , = ? [ \ ] ^ @
    StandardParen,   // the same and "("
    DigitsOnly,      // phone boxes
    UpperCase,       // a–z become A–Z (POS entry box)
};

class CharFilterValidator final : public QValidator
{
    Q_OBJECT

public:
    CharFilterValidator(CharFilter kind, QObject *parent = nullptr) : QValidator(parent), m_kind(kind) {}
    State validate(QString &input, int &pos) const override;
    static QString clean(const QString &text, CharFilter kind);

private:
    CharFilter m_kind;
};

void InstallCharFilter(QLineEdit *edit, CharFilter kind);
