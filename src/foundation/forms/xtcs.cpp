#include "foundation/forms/xtcs.h"

#include "foundation/db/dberror.h"
#include "foundation/forms/combofill.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The check boxes that carry a number box on their line: the box and the text after it.
struct InlineNumber
{
    const char *check;
    const char *number;
    const char *after;
};
const InlineNumber kInlineNumbers[] = {
    {"cs_zjews", "cs_jews", "位小数，单价位数不变"},
    {"cs_cs015", "cs_cs005", "行打印"},
    {"cs_cs019", "cs_cs006", "行打印"},
};

QLabel *label(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

} // namespace

TF_Xtcs::TF_Xtcs(const QSqlDatabase &db, LoginState &state, const Clock &clock, Notices &notices, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
    setObjectName(QStringLiteral("TF_Xtcs"));
    setWindowTitle(QStringLiteral("系统设置"));

    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    pages->addTab(buildCompanyPage(), QStringLiteral("公司信息"));
    pages->addTab(buildParamsPage(), QStringLiteral("系统参数"));

    btnDefault = NamedButton(this, "btnDefault", QStringLiteral("恢复默认系统设置"));
    const ConfirmButtons confirm = AddConfirmButtons(this, QStringLiteral("确定(F5)"), "btnCancel",
                                                     QStringLiteral("取消(Esc)"), [this] { btnOKClick(); });
    btnOK = confirm.ok;
    btnCancel = confirm.close;
    confirm.row->insertWidget(0, btnDefault);
    for (QPushButton *b : {btnOK, btnCancel, btnDefault})
        b->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(confirm.row);

    connect(btnDefault, &QPushButton::clicked, this, &TF_Xtcs::btnDefaultClick);
    // The two binding boxes: the partner binding needs the operator binding.
    connect(m_checks.value(QStringLiteral("cs_shtc")), &QCheckBox::toggled, this, [this](bool on) {
        if (on && !m_loading)
            m_checks.value(QStringLiteral("cs_cgyh"))->setChecked(true);
    });
    connect(m_checks.value(QStringLiteral("cs_cgyh")), &QCheckBox::toggled, this, [this](bool on) {
        if (!on && !m_loading)
            m_checks.value(QStringLiteral("cs_shtc"))->setChecked(false);
    });
    keys()->setEnterMovesFocus(true);
    keys()->addEnterOwner(m_note);
    connect(this, &ScreenDialog::opened, this, &TF_Xtcs::FormActivate);
}

QWidget *TF_Xtcs::buildCompanyPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsCompany"));
    auto *grid = new QGridLayout(page);
    int row = 0;
    for (const CompanyField &f : CompanyFields()) {
        const QString column = QString::fromLatin1(f.column);
        grid->addWidget(label(QString::fromUtf8(f.label), page), row, 0, Qt::AlignRight | Qt::AlignTop);
        if (column == QLatin1String("c_note")) {
            m_note = new QPlainTextEdit(page);
            m_note->setObjectName(column);
            m_note->setTabChangesFocus(true);
            m_note->setFixedHeight(m_note->fontMetrics().lineSpacing() * 5 + 12);
            const int limit = f.boxLimit;
            connect(m_note, &QPlainTextEdit::textChanged, this, [this, limit] {
                const QString text = m_note->toPlainText();
                if (text.size() > limit) {
                    m_note->setPlainText(text.left(limit));
                    m_note->moveCursor(QTextCursor::End);
                }
            });
            grid->addWidget(m_note, row, 1);
        } else {
            auto *box = new QLineEdit(page);
            box->setObjectName(column);
            box->setMaxLength(f.boxLimit);
            m_companyBoxes.insert(column, box);
            grid->addWidget(box, row, 1);
        }
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget *TF_Xtcs::buildParamsPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsParams"));

    auto numberBox = [this, page](const ParamNumber &n) {
        auto *box = new QLineEdit(page);
        box->setObjectName(QString::fromLatin1(n.column));
        box->setMaxLength(n.digits);
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(n.digits)), box));
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0")) * (n.digits + 2) + 12);
        box->setAlignment(Qt::AlignRight);
        m_numbers.insert(box->objectName(), box);
        return box;
    };
    auto findNumber = [](const char *column) -> const ParamNumber & {
        for (const ParamNumber &n : SystemParamNumbers()) {
            if (qstrcmp(n.column, column) == 0)
                return n;
        }
        return SystemParamNumbers().front();
    };

    auto *checks = new QGroupBox(page);
    auto *checkGrid = new QGridLayout(checks);
    constexpr int kColumns = 3;
    int i = 0;
    for (const ParamCheck &c : SystemParamChecks()) {
        auto *box = new QCheckBox(QString::fromUtf8(c.caption), checks);
        box->setObjectName(QString::fromLatin1(c.column));
        m_checks.insert(box->objectName(), box);
        QWidget *cell = box;
        for (const InlineNumber &in : kInlineNumbers) {
            if (qstrcmp(in.check, c.column) != 0)
                continue;
            cell = new QWidget(checks);
            auto *line = new QHBoxLayout(cell);
            line->setContentsMargins(0, 0, 0, 0);
            box->setParent(cell);
            line->addWidget(box);
            line->addWidget(numberBox(findNumber(in.number)));
            line->addWidget(label(QString::fromUtf8(in.after), cell));
            line->addStretch();
        }
        checkGrid->addWidget(cell, i / kColumns, i % kColumns);
        ++i;
    }

    auto *lists = new QGroupBox(page);
    auto *listGrid = new QGridLayout(lists);
    int row = 0;
    int col = 0;
    auto place = [&](const QString &before, QWidget *control, const QString &after) {
        listGrid->addWidget(label(before, lists), row, col * 3, Qt::AlignRight);
        listGrid->addWidget(control, row, col * 3 + 1);
        if (!after.isEmpty())
            listGrid->addWidget(label(after, lists), row, col * 3 + 2);
        if (++col == 2) {
            col = 0;
            ++row;
        }
    };
    for (const ParamChoice &c : SystemParamChoices()) {
        auto *combo = new KeyedCombo(lists);
        combo->setObjectName(QString::fromLatin1(c.column));
        KeyedItems items;
        for (int k = 0; k < c.items.size(); ++k)
            items.append({c.items.at(k), QString::number(k)});
        FillKeyedCombo(combo, items, true);
        m_choices.insert(combo->objectName(), combo);
        const QStringList parts = QString::fromUtf8(c.label).split(QStringLiteral(" … "));
        place(parts.value(0), combo, parts.value(1));
    }
    place(QStringLiteral("系统数量小数位数："), numberBox(findNumber("cs_cbjs")), QString());
    place(QStringLiteral("系统金额小数位数："), numberBox(findNumber("cs_xsws")), QString());
    auto money = [lists](const char *name) {
        auto *edit = new MoneyEdit(lists);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setDecimals(4);
        edit->setDisplayFormat(QStringLiteral("0.0000;-0.0000"));
        return edit;
    };
    m_tax = money("cs_tax");
    place(QStringLiteral("默认税率："), m_tax, QStringLiteral("%"));
    m_discount = money("cs_zdzk");
    place(QStringLiteral("最低销售折扣："), m_discount, QStringLiteral("(1为不打折,0.8为打8折)"));
    m_currency = new QLineEdit(lists);
    m_currency->setObjectName(QStringLiteral("cs_hbfh"));
    m_currency->setMaxLength(3);
    place(QStringLiteral("金额前面货币符号："), m_currency, QString());
    listGrid->setColumnStretch(2, 1);
    listGrid->setColumnStretch(5, 1);

    auto *v = new QVBoxLayout(page);
    v->addWidget(checks);
    v->addWidget(lists);
    v->addStretch();
    return page;
}

void TF_Xtcs::FormActivate()
{
    pages->setCurrentIndex(0);
    try {
        fill(ReadSystemParams(m_db));
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("读取系统设置失败：") + e.text());
    }
}

void TF_Xtcs::fill(const SystemParamsValues &values)
{
    m_loading = true;
    m_loaded = values;
    for (auto it = m_companyBoxes.cbegin(); it != m_companyBoxes.cend(); ++it)
        it.value()->setText(values.company.value(it.key()));
    m_note->setPlainText(values.company.value(QStringLiteral("c_note")));
    for (auto it = m_checks.cbegin(); it != m_checks.cend(); ++it)
        it.value()->setChecked(values.checks.value(it.key()));
    for (auto it = m_choices.cbegin(); it != m_choices.cend(); ++it)
        it.value()->setCurrentIndex(values.choices.value(it.key()));
    for (auto it = m_numbers.cbegin(); it != m_numbers.cend(); ++it)
        it.value()->setText(QString::number(values.numbers.value(it.key())));
    m_tax->setValue(values.tax);
    m_discount->setValue(values.minDiscount);
    m_currency->setText(values.currencySymbol);
    m_loading = false;
}

SystemParamsValues TF_Xtcs::gather() const
{
    SystemParamsValues v = m_loaded;  // marker and carried columns as read
    for (auto it = m_companyBoxes.cbegin(); it != m_companyBoxes.cend(); ++it)
        v.company.insert(it.key(), it.value()->text());
    v.company.insert(QStringLiteral("c_note"), m_note->toPlainText());
    for (auto it = m_checks.cbegin(); it != m_checks.cend(); ++it)
        v.checks.insert(it.key(), it.value()->isChecked());
    for (auto it = m_choices.cbegin(); it != m_choices.cend(); ++it) {
        // A stored position outside the list shows no item and goes back as it was.
        if (it.value()->currentIndex() >= 0)
            v.choices.insert(it.key(), it.value()->currentIndex());
    }
    for (auto it = m_numbers.cbegin(); it != m_numbers.cend(); ++it)
        v.numbers.insert(it.key(), it.value()->text().toInt());  // empty reads 0
    v.tax = m_tax->value();
    v.minDiscount = m_discount->value();
    v.currencySymbol = m_currency->text();
    return v;
}

void TF_Xtcs::reloadParams()
{
    try {
        LoadSysParams(m_db, m_state, m_clock);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("读取系统设置失败：") + e.text());
    }
}

void TF_Xtcs::btnOKClick()
{
    SystemParamsValues values = gather();
    const SystemParamsResult result = SaveSystemParams(m_db, values);
    if (result.status != SystemParamsResult::Status::Refused) {
        // The decimals as stored.
        for (const ParamNumber &n : SystemParamNumbers()) {
            if (n.clamped)
                m_numbers.value(QString::fromLatin1(n.column))->setText(QString::number(values.numbers.value(QString::fromLatin1(n.column))));
        }
    }
    // The parameters are read again after every press, a refused one included.
    reloadParams();
    if (result.status != SystemParamsResult::Status::Saved) {
        m_notices.notice(result.text);
        return;
    }
    accept();
}

void TF_Xtcs::btnDefaultClick()
{
    const SystemParamsResult result = RestoreDefaultSystemParams(m_db, m_clock, m_notices);
    if (result.status == SystemParamsResult::Status::Declined)
        return;
    if (result.status == SystemParamsResult::Status::Failed) {
        m_notices.notice(result.text);
        return;
    }
    FormActivate();
    pages->setCurrentIndex(1);
    reloadParams();
    m_notices.notice(QStringLiteral("默认系统设置已恢复！"));
}
