#include "screenkit/editors.h"

#include "foundation/db/clock.h"
#include "foundation/db/numbers.h"
#include "screenkit/datagrid.h"
#include "screenkit/numberdisplay.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

// ---- MoneyEdit -------------------------------------------------------------------------------

MoneyEdit::MoneyEdit(QWidget *parent) : QLineEdit(parent)
{
    m_validator = new NumberValidator(m_decimals, true, this);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setMaxLength(m_decimals + 13);
    connect(this, &QLineEdit::textEdited, this, &MoneyEdit::onTextEdited);
    showValue();
}

void MoneyEdit::setDecimals(int decimals)
{
    m_decimals = qBound(0, decimals, 8);
    m_validator->setDecimals(m_decimals);
    setMaxLength(m_decimals + 13);
    showValue();
}

void MoneyEdit::setDisplayFormat(const QString &format)
{
    m_format = format;
    showValue();
}

void MoneyEdit::setMinusIgnored(bool ignored)
{
    m_validator->setAllowMinus(!ignored);
}

void MoneyEdit::setValue(double value)
{
    const bool changed = !m_hasValue || value != m_value;
    m_value = value;
    m_hasValue = true;
    showValue();
    if (changed)
        Q_EMIT valueChanged(value);
}

QString MoneyEdit::plainText() const
{
    return NumberText(m_value);
}

void MoneyEdit::showValue()
{
    const QString text = hasFocus() || m_format.isEmpty() ? NumberText(m_value) : DisplayNumber(m_value, m_format);
    // Values set by code stay whole: the validator only watches typing.
    setValidator(nullptr);
    setText(text);
    if (hasFocus())
        setValidator(m_validator);
}

void MoneyEdit::onTextEdited(const QString &text)
{
    const double v = text.isEmpty() || text == QLatin1String("-") ? 0.0 : TextToNumber(text);
    if (m_hasValue && v == m_value)
        return;
    m_value = v;
    m_hasValue = true;
    Q_EMIT valueChanged(v);
}

void MoneyEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    setValidator(nullptr);
    setText(NumberText(m_value));
    setValidator(m_validator);
    selectAll();
}

void MoneyEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    setValidator(nullptr);
    setText(m_format.isEmpty() ? NumberText(m_value) : DisplayNumber(m_value, m_format));
}

void MoneyEdit::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    Q_EMIT edited();
}

// ---- DateEdit, TimeEdit ----------------------------------------------------------------------

DateEdit::DateEdit(QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(QString::fromLatin1(kDateFormat));
    setCalendarPopup(true);
    setMinimumDate(QDate(1900, 1, 1));
    setMaximumDate(QDate(9999, 12, 31));
}

QString DateEdit::dateText() const
{
    return date().toString(QString::fromLatin1(kDateFormat));
}

bool DateEdit::setDateText(const QString &text)
{
    const QDate d = QDate::fromString(text.left(10), QString::fromLatin1(kDateFormat));
    if (!d.isValid() || (text.size() > 10 && text.at(10) != QLatin1Char(' ')))
        return false;
    setDate(d);
    return true;
}

void DateEdit::keyPressEvent(QKeyEvent *event)
{
    const QString t = event->text();
    const bool digit = t.size() == 1 && t.at(0).isDigit();
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Home:
    case Qt::Key_End:
        QDateEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (digit) {
        QDateEdit::keyPressEvent(event);
        return;
    }
    event->ignore();  // Enter, F-keys … go on to the window
}

TimeEdit::TimeEdit(QWidget *parent) : QTimeEdit(parent)
{
    setDisplayFormat(QString::fromLatin1(kTimeFormat));
}

// ---- DateRangeBar ----------------------------------------------------------------------------

DateRangeBar::DateRangeBar(const Clock &clock, bool withTimes, QWidget *parent)
    : QWidget(parent), m_clock(clock)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_start = new DateEdit(this);
    m_start->setObjectName(QStringLiteral("DateEdit1"));
    m_end = new DateEdit(this);
    m_end->setObjectName(QStringLiteral("DateEdit2"));
    layout->addWidget(m_start);
    if (withTimes) {
        m_startTime = new TimeEdit(this);
        m_startTime->setObjectName(QStringLiteral("TimeEdit1"));
        m_startTime->setTime(QTime(0, 0, 0));
        layout->addWidget(m_startTime);
    }
    auto *to = new QLabel(QStringLiteral("至"), this);
    layout->addWidget(to);
    layout->addWidget(m_end);
    if (withTimes) {
        m_endTime = new TimeEdit(this);
        m_endTime->setObjectName(QStringLiteral("TimeEdit2"));
        m_endTime->setTime(QTime(23, 59, 59));
        layout->addWidget(m_endTime);
    }
    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("btnPeriod"));
    m_button->setPopupMode(QToolButton::InstantPopup);
    m_button->setArrowType(Qt::DownArrow);
    m_menu = new QMenu(m_button);
    struct Item
    {
        const char *text;
        Period period;
        bool separatorAfter;
    };
    const Item items[] = {
        {"今天(&T)", Period::Today, false},        {"昨天(&U)", Period::Yesterday, false},
        {"前天(&V)", Period::DayBefore, true},     {"最近七天(&W)", Period::LastSevenDays, false},
        {"最近一月(&X)", Period::LastMonth, true}, {"本月(&Y)", Period::ThisMonth, false},
        {"上月(&Z)", Period::PreviousMonth, false}, {"所有时间(&A)", Period::AllTime, false},
    };
    for (const Item &item : items) {
        const Period p = item.period;
        m_menu->addAction(QString::fromUtf8(item.text), this, [this, p] { choose(p); });
        if (item.separatorAfter)
            m_menu->addSeparator();
    }
    m_button->setMenu(m_menu);
    layout->addWidget(m_button);
    layout->addStretch();

    const QDate today = m_clock.today();
    m_start->setDate(QDate(today.year(), today.month(), 1));
    m_end->setDate(today);
}

void DateRangeBar::choose(Period period)
{
    const QDate today = m_clock.today();
    const QDate firstOfMonth(today.year(), today.month(), 1);
    QDate from = today;
    QDate to = today;
    switch (period) {
    case Period::Today:
        break;
    case Period::Yesterday:
        from = to = today.addDays(-1);
        break;
    case Period::DayBefore:
        from = to = today.addDays(-2);
        break;
    case Period::LastSevenDays:
        from = today.addDays(-7);
        break;
    case Period::LastMonth:
        from = firstOfMonth.addMonths(-1);
        break;
    case Period::ThisMonth:
        from = firstOfMonth;
        break;
    case Period::PreviousMonth:
        from = firstOfMonth.addMonths(-1);
        to = firstOfMonth.addDays(-1);
        break;
    case Period::AllTime:
        from = QDate(2000, 1, 1);
        to = QDate(9999, 12, 31);
        break;
    }
    m_start->setDate(from);
    m_end->setDate(to);
    Q_EMIT periodChosen();
}

QString DateRangeBar::sqlStart() const
{
    if (m_startTime)
        return m_start->dateText() + QLatin1Char(' ') + m_startTime->timeText();
    return m_start->dateText();
}

QString DateRangeBar::sqlEnd() const
{
    if (m_endTime)
        return m_end->dateText() + QLatin1Char(' ') + m_endTime->timeText();
    return m_end->dateText() + QStringLiteral(" 23:59:00");
}

// ---- KeyedCombo ------------------------------------------------------------------------------

KeyedCombo::KeyedCombo(QWidget *parent) : QComboBox(parent) {}

void KeyedCombo::addKeyed(const QString &text, const QString &key)
{
    addItem(text, key);
}

QString KeyedCombo::keyAt(int index) const
{
    return GetComboKey(this, index);
}

bool KeyedCombo::selectKey(const QString &key)
{
    const int i = findData(key);
    if (i < 0)
        return false;
    setCurrentIndex(i);
    return true;
}

bool KeyedCombo::selectText(const QString &text)
{
    const int i = findText(text, Qt::MatchExactly);
    if (i < 0)
        return false;
    setCurrentIndex(i);
    return true;
}

QString GetComboKey(const QComboBox *combo, int index)
{
    if (!combo || index < 0 || index >= combo->count())
        return QString();
    return combo->itemData(index).toString();
}

QString GetTComboKey(const QComboBox *combo, int index)
{
    return GetComboKey(combo, index);
}

// ---- Character filters -----------------------------------------------------------------------

QString CharFilterValidator::clean(const QString &text, CharFilter kind)
{
    static const QString standard = QStringLiteral("!\"%&',=?[\\]^@");
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (kind) {
        case CharFilter::Standard:
            if (!standard.contains(c))
                out += c;
            break;
        case CharFilter::StandardParen:
            if (!standard.contains(c) && c != QLatin1Char('('))
                out += c;
            break;
        case CharFilter::DigitsOnly:
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                out += c;
            break;
        case CharFilter::UpperCase:
            out += (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ? c.toUpper() : c;
            break;
        }
    }
    return out;
}

QValidator::State CharFilterValidator::validate(QString &input, int &pos) const
{
    const QString before = input.left(pos);
    const QString cleaned = clean(input, m_kind);
    if (cleaned != input) {
        pos = int(clean(before, m_kind).size());
        input = cleaned;
    }
    return Acceptable;
}

void InstallCharFilter(QLineEdit *edit, CharFilter kind)
{
    edit->setValidator(new CharFilterValidator(kind, edit));
}

void ShowValueQuietly(MoneyEdit *edit, double value)
{
    if (!edit || edit->value() == value)
        return;
    const QSignalBlocker block(edit);
    edit->setValue(value);
}
