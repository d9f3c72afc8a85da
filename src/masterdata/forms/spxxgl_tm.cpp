#include "masterdata/forms/spxxgl_dw.h"

#include "masterdata/forms/auxdialogs_p.h"

#include "foundation/datamodule.h"
#include "screenkit/editors.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace auxdialogs;

TF_Spxxgl_Tm::TF_Spxxgl_Tm(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Spxxgl_Tm"));
    setWindowTitle(QStringLiteral("一品多码设置"));
    setStayOnTop(true);
    auto *grid = new QGridLayout(this);
    m_barcode = new QLineEdit(this);
    m_barcode->setObjectName(QStringLiteral("ttm"));
    m_barcode->setMaxLength(60);
    InstallCharFilter(m_barcode, CharFilter::Standard);
    m_note = new QLineEdit(this);
    m_note->setObjectName(QStringLiteral("tbz"));
    m_note->setMaxLength(16);
    InstallCharFilter(m_note, CharFilter::Standard);
    grid->addWidget(new QLabel(QStringLiteral("商品条码："), this), 0, 0);
    grid->addWidget(m_barcode, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("条码备注："), this), 1, 0);
    grid->addWidget(m_note, 1, 1);
    auto *n = new QLabel(QStringLiteral("条码备注在商品销售或POS销售时会出现在商品名称后面"), this);
    n->setStyleSheet(QStringLiteral("color: #c00000;"));
    grid->addWidget(n, 2, 0, 1, 2);
    QPushButton *save = nullptr;
    grid->addLayout(saveExitRow(this, save), 3, 0, 1, 2);
    keys()->setEnterMovesFocus(true);
    keys()->bind(Qt::Key_F5, [this] { this->save(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(save, &QPushButton::clicked, this, &TF_Spxxgl_Tm::save);
    connect(this, &ScreenDialog::opened, this, &TF_Spxxgl_Tm::activate);
}

AuxContext TF_Spxxgl_Tm::context() const { return contextOf(this, *m_context.state); }

void TF_Spxxgl_Tm::activate()
{
    const AuxContext c = context();
    if (IsEdit(c.mode)) {
        const QVariantMap row = ExtraBarcodeRow(m_context.data->mainDb(), c.mode, c.rowId);
        m_barcode->setText(row.value(QStringLiteral("g_sptm")).toString());
        m_note->setText(row.value(QStringLiteral("g_tmbz")).toString());
    } else {
        m_barcode->clear();
        m_note->clear();
    }
    m_barcode->setFocus();
}

void TF_Spxxgl_Tm::save()
{
    AuxUnitRules rules(m_context.data->mainDb(), *m_context.notices);
    if (rules.saveBarcode(context(), m_barcode->text(), m_note->text()))
        accept();
}
