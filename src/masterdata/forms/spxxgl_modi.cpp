#include "masterdata/forms/spxxgl_modi.h"

#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/masterdatascreens.h"

#include "foundation/datamodule.h"
#include "foundation/db/numbers.h"
#include "foundation/loginstate.h"
#include "platform/system/programfolder.h"
#include "screenkit/editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>

TF_Spxxgl_Modi::TF_Spxxgl_Modi(const ScreenContext &context, QWidget *parent)
    : GoodsEditDialog(Mode::Modify, context, parent)
{
    setObjectName(QStringLiteral("TF_Spxxgl_Modi"));
    setWindowTitle(QStringLiteral("修改商品"));
}

AuxContext TF_Spxxgl_Modi::auxContext() const
{
    AuxContext c;
    c.mode = AuxMode::StoredNew;
    c.operatorName = m_context.state->CurrentOperatorName;
    c.goodsCode = m_loadedCode;
    c.baseUnit = m_unit->currentText().trimmed();
    c.mainBarcode = m_barcode->text().trimmed();
    return c;
}

void TF_Spxxgl_Modi::activate()
{
    m_tabs->setCurrentIndex(0);
    m_classPanel->hide();
    fillLists(false);
    m_tree->reload();
    m_tree->selectSecond();

    m_id = property(handoff::GoodsId).toLongLong();
    const QVariantMap g = GoodsRecord(m_db, m_id);
    auto text = [&](const char *f) { return g.value(QLatin1String(f)).toString(); };
    auto number = [&](const char *f) { return TextToNumber(text(f)); };
    m_classCid = text("gc_cid").toInt();
    m_classSn = text("gc_sn");
    m_loadedCode = text("g_sn");
    m_code->setText(m_loadedCode);
    m_class->setText(text("gc_name"));
    m_name->setText(text("g_name"));
    m_barcode->setText(text("g_sptm"));
    m_spec->setEditText(text("gg_name"));
    selectUnit(text("dw_name"));
    m_colour->setEditText(text("color_name"));
    m_minStock->setValue(number("g_zdkc"));
    m_jj->setValue(number("g_jj"));
    m_sj->setValue(number("g_sj"));
    static const char *levels[] = {"g_sj1", "g_sj2", "g_sj3", "g_sj4", "g_sj5"};
    for (int i = 0; i < 5; ++i)
        m_levels[i]->setValue(number(levels[i]));
    m_retail->setValue(number("g_lsj"));
    m_maker->setText(text("g_sccs"));
    m_note->setText(text("g_bz"));
    m_shelf->setEditText(text("hj_name"));
    m_gift->setChecked(text("g_iszp").toInt() != 0);
    m_fixedCost->setChecked(text("g_gdcbj").toInt() != 0);
    m_nameWarning->setChecked(false);
    const int kind = qBound(0, text("g_tclb").toInt(), 3);
    reloadCommissionKind(kind);
    m_tc->setValue(kind == 0 ? 0 : number("g_tc"));
    m_sameCommission->setChecked(false);

    m_picture->clear();
    const QString picture = QDir(ProgramFolder()).filePath(QStringLiteral("picture/") + m_loadedCode + QStringLiteral(".jpg"));
    QPixmap pixmap;
    if (QFile::exists(picture) && pixmap.load(picture))
        m_picture->setPixmap(pixmap);

    openAuxGrids();
    // A code in use stays; the box says why.
    const QString locked = GoodsCodeLockReason(m_db, m_loadedCode);
    m_code->setEnabled(locked.isEmpty());
    m_code->setToolTip(locked);
    applyVisibility();
}

void TF_Spxxgl_Modi::onClassChosen(const GoodsClassRow &row)
{
    m_classPanel->hide();
    const LoginState &s = *m_context.state;
    if (IsTrue(s.PickerDblClickSelect) && !m_code->text().isEmpty()) {
        if (s.BarcodeMethod == QLatin1String("0"))
            m_barcode->setText(m_code->text());
        else if (s.BarcodeMethod == QLatin1String("1"))
            m_barcode->setText(QString::number(row.cid) + m_code->text());
    }
}

void TF_Spxxgl_Modi::saveInput(const GoodsInput &input)
{
    const GoodsSaveResult r =
        SaveModifiedGoods(m_db, *m_context.state, *m_context.clock, *m_context.notices, m_id, input);
    if (!r.saved())
        return;
    setProperty(handoff::GoodsCode, r.code);
    accept();
}
