#include "masterdata/forms/spxxgl_dw.h"

#include "masterdata/forms/auxdialogs_p.h"

#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/goodsrules.h"
#include "masterdata/lookuplistrules.h"

#include "foundation/datamodule.h"
#include "foundation/db/numbers.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "screenkit/editors.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace auxdialogs;

TF_Spxxgl_Dw::TF_Spxxgl_Dw(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Spxxgl_Dw"));
    setWindowTitle(QStringLiteral("辅助单位设置"));
    setStayOnTop(true);
    auto *grid = new QGridLayout(this);
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("comDw"));
    m_unit->setEditable(true);
    m_unit->setInsertPolicy(QComboBox::NoInsert);
    m_unit->lineEdit()->setMaxLength(32);
    m_factor = new MoneyEdit(this);
    m_factor->setObjectName(QStringLiteral("tzhxs"));
    m_factor->setDecimals(4);
    m_barcode = new QLineEdit(this);
    m_barcode->setObjectName(QStringLiteral("ttm"));
    m_barcode->setMaxLength(64);
    InstallCharFilter(m_barcode, CharFilter::Standard);
    grid->addWidget(new QLabel(QStringLiteral("单位："), this), 0, 0);
    grid->addWidget(m_unit, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("转换系数："), this), 0, 2);
    grid->addWidget(m_factor, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("商品条码："), this), 1, 0);
    grid->addWidget(m_barcode, 1, 1, 1, 3);
    static const char *captions[] = {"预设进价：", "预设售价：", "一级批发价：", "二级批发价：",
                                     "三级批发价：", "四级批发价：", "五级批发价：", "零售价："};
    static const char *names[] = {"tjj", "tsj", "tsj1", "tsj2", "tsj3", "tsj4", "tsj5", "tlsj"};
    for (int i = 0; i < 8; ++i) {
        m_prices[i] = new MoneyEdit(this);
        m_prices[i]->setObjectName(QString::fromLatin1(names[i]));
        m_priceLabels[i] = new QLabel(QString::fromUtf8(captions[i]), this);
        grid->addWidget(m_priceLabels[i], 2 + i / 2, (i % 2) * 2);
        grid->addWidget(m_prices[i], 2 + i / 2, (i % 2) * 2 + 1);
    }
    auto *n1 = new QLabel(QStringLiteral("不同级别的客户对应不同的批发价格。"), this);
    auto *n2 = new QLabel(QStringLiteral("零售价不参与任何业务，可以打印。"), this);
    for (QLabel *n : {n1, n2})
        n->setStyleSheet(QStringLiteral("color: #c00000;"));
    grid->addWidget(n1, 6, 0, 1, 4);
    grid->addWidget(n2, 7, 0, 1, 4);
    QPushButton *save = nullptr;
    grid->addLayout(saveExitRow(this, save), 8, 0, 1, 4);
    keys()->setEnterMovesFocus(true);
    keys()->bind(Qt::Key_F5, [this] { this->save(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(save, &QPushButton::clicked, this, &TF_Spxxgl_Dw::save);
    connect(m_factor, &MoneyEdit::valueChanged, this, &TF_Spxxgl_Dw::onFactorChanged);
    connect(m_unit, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (m_unit->itemText(index) != QString::fromUtf8(kNewUnitItem))
            return;
        m_unit->setEditText(QString());
        // The unit list refills this list when it is confirmed, not after its own save.
        OpenLookupList(m_context, this, QStringLiteral("TF_Dwgl"), m_unit, false);
    });
    connect(this, &ScreenDialog::opened, this, &TF_Spxxgl_Dw::activate);
}

AuxContext TF_Spxxgl_Dw::context() const { return contextOf(this, *m_context.state); }

void TF_Spxxgl_Dw::activate()
{
    const LoginState &s = *m_context.state;
    const QSqlDatabase db = m_context.data->mainDb();
    m_unit->clear();
    m_unit->addItems(LookupListRules(db, *m_context.notices, LookupKind::Unit).comboItems());
    m_unit->setCurrentIndex(-1);
    const AuxContext c = context();
    if (IsEdit(c.mode)) {
        const QVariantMap row = AuxUnitRow(db, c.mode, c.rowId);
        m_barcode->setText(row.value(QStringLiteral("g_sptm")).toString());
        m_factor->blockSignals(true);
        m_factor->setValue(TextToNumber(row.value(QStringLiteral("g_zhxs")).toString()));
        m_factor->blockSignals(false);
        static const char *fields[] = {"g_jj", "g_sj", "g_sj1", "g_sj2", "g_sj3", "g_sj4", "g_sj5", "g_lsj"};
        for (int i = 0; i < 8; ++i)
            m_prices[i]->setValue(TextToNumber(row.value(QLatin1String(fields[i])).toString()));
        const int i = m_unit->findText(row.value(QStringLiteral("dw_name")).toString());
        if (i >= 0)
            m_unit->setCurrentIndex(i);
        else
            m_unit->setEditText(row.value(QStringLiteral("dw_name")).toString());
    } else {
        m_factor->blockSignals(true);
        m_factor->setValue(1);
        m_factor->blockSignals(false);
        m_barcode->clear();
        for (MoneyEdit *m : m_prices)
            m->setValue(0);
    }
    const bool retail = IsTrue(s.UseRetailPrice);
    m_prices[7]->setVisible(retail);
    m_priceLabels[7]->setVisible(retail);
    for (int i = 2; i < 7; ++i) {
        m_prices[i]->setVisible(IsTrue(s.UseGradePrices));
        m_priceLabels[i]->setVisible(IsTrue(s.UseGradePrices));
    }
    for (MoneyEdit *m : m_prices)
        SetMoneyEditFormat(m, s);
    m_unit->setFocus();
}

void TF_Spxxgl_Dw::onFactorChanged()
{
    const AuxMode mode = context().mode;
    if (mode != AuxMode::StagedNew && mode != AuxMode::StoredNew)
        return;
    const QVariantList base = property(handoff::BasePrices).toList();
    for (int i = 0; i < 8 && i < base.size(); ++i)
        m_prices[i]->setValue(base.at(i).toDouble() * m_factor->value());
}

void TF_Spxxgl_Dw::save()
{
    AuxUnitInput in;
    in.unit = m_unit->currentText();
    in.barcode = m_barcode->text();
    in.factor = m_factor->value();
    in.prices.purchase = m_prices[0]->value();
    in.prices.sale = m_prices[1]->value();
    for (int i = 0; i < 5; ++i)
        in.prices.levels[i] = m_prices[2 + i]->value();
    in.prices.retail = m_prices[7]->value();
    AuxUnitRules rules(m_context.data->mainDb(), *m_context.notices);
    if (rules.saveUnit(context(), in))
        accept();
}

