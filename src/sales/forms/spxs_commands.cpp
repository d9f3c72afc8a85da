// TF_Spxs: the commands of the entry page that open other dialogs (goods picker, line dialog,
// goods add dialog, gifts, imports, kit picker, handler chooser, note presets, customer
// chooser), scanning and deleting.

#include "sales/forms/spxs.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "sales/forms/salesscreens.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/chooserpanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/filechoice.h"
#include "screenkit/partnerchooser.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

// ---- Lines ----------------------------------------------------------------------------------

bool TF_Spxs::warehouseChosen()
{
    if (m_warehouse->count() > 0)
        return true;
    m_context.notices->notice(QStringLiteral("请添加仓库信息！"));
    return false;
}

void TF_Spxs::openLineDialog(const QString &tag, const QString &goods, qint64 lineId)
{
    std::unique_ptr<QDialog> dialog(m_context.registry->create(QString::fromLatin1(sales::kLineDialog),
                                                               QString::fromUtf8(sales::kLineCaption), m_context, this));
    SetDocumentContext(dialog.get(), &documentContext());
    dialog->setProperty(handoff::LineTag, tag);
    dialog->setProperty(handoff::GoodsCode, goods);
    dialog->setProperty(handoff::LineId, lineId);
    dialog->exec();
}

void TF_Spxs::addOld()
{
    if (!m_entryRight || !warehouseChosen())
        return;
    if (!m_picker)
        m_picker = m_context.registry->create(QString::fromLatin1(sales::kPicker), QString::fromUtf8(sales::kPickerCaption),
                                              m_context, this);
    SetDocumentContext(m_picker, &documentContext());
    const int result = m_picker->exec();
    updateTotals();
    if (result == QDialog::Accepted)
        m_handler->setFocus(Qt::OtherFocusReason);
}

void TF_Spxs::addNew()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Spxxgl_Add"), QStringLiteral("增加商品"), m_context, this));
    dialog->setProperty(handoff::Source, QStringLiteral("spxs"));
    dialog->exec();
    const QString code = dialog->property(handoff::GoodsCode).toString();
    dialog.reset();
    if (!code.isEmpty())
        openLineDialog(QStringLiteral("spxs_new"), code, 0);
    updateTotals();
}

void TF_Spxs::addGift()
{
    if (!warehouseChosen())
        return;
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Spxs_Add2"), QStringLiteral("添加赠品"), m_context, this));
    SetDocumentContext(dialog.get(), &documentContext());
    dialog->exec();
    reloadLines();
    updateTotals();
}

void TF_Spxs::modifyLine()
{
    if (lineCount() == 0)
        return;
    const QString goods = linesGrid()->currentValue(QStringLiteral("g_sn")).toString();
    const qint64 id = linesGrid()->currentValue(QStringLiteral("id")).toLongLong();
    if (linesGrid()->currentValue(QStringLiteral("t_zp")).toString() == QLatin1String("(赠品)")) {
        std::unique_ptr<QDialog> dialog(
            m_context.registry->create(QStringLiteral("TF_Spxs_Sele2"), QStringLiteral("赠品信息"), m_context, this));
        SetDocumentContext(dialog.get(), &documentContext());
        dialog->setProperty(handoff::LineTag, QStringLiteral("spxs"));
        dialog->setProperty(handoff::GoodsCode, goods);
        dialog->setProperty(handoff::LineId, id);
        dialog->exec();
    } else {
        openLineDialog(QStringLiteral("spxs"), goods, id);
    }
    reloadLines();
    updateTotals();
}

void TF_Spxs::deleteLine()
{
    if (lineCount() == 0 || !m_context.notices->confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
        return;
    m_entry.removeLine(linesGrid()->currentValue(QStringLiteral("id")).toLongLong());
    reloadLines();
    updateTotals();
}

void TF_Spxs::onScanned(const QString &code)
{
    const SaleResult r = m_entry.scan(documentContext(), code, barcodePanel()->refusesRepeats());
    if (!r.done())
        return;
    linesGrid()->locate(QStringLiteral("id"), r.lineId);
    if (barcodePanel()->opensEditorAfterAdd())
        modifyLine();
}

void TF_Spxs::sellKit()
{
    std::unique_ptr<QDialog> picker(
        m_context.registry->create(QStringLiteral("TF_Spxs_Clsele"), QStringLiteral("选择配料商品"), m_context, this));
    picker->setProperty(handoff::PickMode, QStringLiteral("spxs"));
    if (picker->exec() != QDialog::Accepted)
        return;
    const SaleKitChoice kit{picker->property(handoff::KitCode).toString(), picker->property(handoff::KitName).toString(),
                            picker->property(handoff::KitQuantity).toString()};
    picker.reset();
    if (kit.code.isEmpty())
        return;
    QString note;
    if (m_entry.addKit(documentContext(), kit, &note).done())
        m_note->setText(note);
}

void TF_Spxs::importExcel()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Spxs_Import"), QStringLiteral("销售单据导入"), m_context, this));
    SetDocumentContext(dialog.get(), &documentContext());
    dialog->exec();
    reloadLines();
    updateTotals();
}

void TF_Spxs::exportExcel()
{
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    ExportGrid(*linesGrid(), *m_files, *m_context.notices, this);
}

void TF_Spxs::importOrders()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Spxs_ImportDD"), QStringLiteral("导入订单"), m_context, this));
    SetDocumentContext(dialog.get(), &documentContext());
    dialog->exec();
    reloadLines();
    updateTotals();
}

// ---- Header and bottom choosers -------------------------------------------------------------

void TF_Spxs::chooseHandler()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_User2"), QStringLiteral("选择经办人"), m_context, this));
    dialog->setProperty(handoff::CallerTag, QStringLiteral("xs"));
    dialog->setProperty(handoff::CustomerSn, m_customerSn);
    dialog->exec();
    ApplyHandlerAnswer(dialog.get(), m_handler);
}

void TF_Spxs::chooseNote()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Djbz"), QStringLiteral("单据备注信息设置"), m_context, this));
    dialog->setProperty(handoff::CallerTag, QStringLiteral("xs"));
    if (dialog->exec() != QDialog::Accepted)
        return;
    const QVariant text = dialog->property(handoff::NoteText);
    if (text.isValid())
        m_note->setText(text.toString());
}

ChooserPanel *TF_Spxs::customerChooser() const
{
    return m_chooser ? m_chooser->panel() : nullptr;
}

void TF_Spxs::chooseCustomer(const QString &search)
{
    if (!m_chooser) {
        PartnerChooserSpec spec;
        spec.options.caption = QStringLiteral("选择客户");
        spec.options.searchCaption = QStringLiteral("查找客户(F2)：");
        spec.options.searchFields = {QStringLiteral("kh_name"), QStringLiteral("kh_jm"),  QStringLiteral("kh_sn"),
                                     QStringLiteral("kh_tele"), QStringLiteral("kh_lxr"), QStringLiteral("kh_address")};
        spec.options.codeField = QStringLiteral("kh_sn");
        spec.options.nameField = QStringLiteral("kh_name");
        spec.options.orderItems = {QStringLiteral("编号顺序"), QStringLiteral("编号倒序")};
        spec.objectName = "RzPanelKh";
        spec.orderBoxName = "comSx";
        spec.columns = {PartnerColumn("kh_sn", "编号", 70),         PartnerColumn("kh_name", "客户名称", 160),
                        PartnerColumn("kh_lxr", "联系人", 70),       PartnerColumn("kh_tele", "联系电话", 100),
                        PartnerColumn("kh_address", "联系地址", 160), PartnerColumn("kt_name", "客户类型", 80),
                        PartnerColumn("z_name", "所属地区", 80),     PartnerColumn("kh_jm", "kh_jm", 60, false),
                        PartnerColumn("id", "id", 40, false)};
        spec.takeAdded = true;
        m_chooser = std::make_unique<PartnerChooser>(spec, m_db, *m_context.state, m_customers, this);
        m_chooser->addPartner = [this](QWidget *parent) {
            std::unique_ptr<QDialog> d(
                m_context.registry->create(QStringLiteral("TF_Khgl_Add"), QStringLiteral("添加客户"), m_context, parent));
            d->exec();
            return d->property(handoff::PartnerCode).toString();
        };
        m_chooser->modifyPartner = [this](QWidget *parent, qint64 id) {
            std::unique_ptr<QDialog> d(
                m_context.registry->create(QStringLiteral("TF_Khgl_Modi"), QStringLiteral("修改客户"), m_context, parent));
            d->setProperty(handoff::PartnerId, id);
            d->exec();
        };
    }
    const bool maintain = HasRight(m_db, *m_context.state, QStringLiteral("qtcz"), 3);
    const std::optional<PartnerPick> pick = m_chooser->choose(search, maintain, maintain);
    if (!pick)
        return;
    m_customerSn = pick->code;
    m_customerBox->setText(pick->name);
    if (m_context.state->BindSalesmanCustomer == QLatin1String("1"))
        loadHandlers();
}
