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
#include "screenkit/partnergridmodel.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace {

GridColumn CustomerColumn(const char *field, const char *caption, int width, bool visible = true)
{
    GridColumn c = ListColumn(field, caption, width);
    c.visible = visible;
    return c;
}

} // namespace

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

void TF_Spxs::chooseCustomer(const QString &search)
{
    const LoginState &state = *m_context.state;
    if (!m_chooser) {
        ChooserOptions o;
        o.caption = QStringLiteral("选择客户");
        o.searchCaption = QStringLiteral("查找客户(F2)：");
        o.searchFields = {QStringLiteral("kh_name"), QStringLiteral("kh_jm"),  QStringLiteral("kh_sn"),
                          QStringLiteral("kh_tele"), QStringLiteral("kh_lxr"), QStringLiteral("kh_address")};
        o.codeField = QStringLiteral("kh_sn");
        o.nameField = QStringLiteral("kh_name");
        o.orderItems = {QStringLiteral("编号顺序"), QStringLiteral("编号倒序")};
        m_chooser = new ChooserPanel(o, state.UiFontSize, this);
        m_chooser->setObjectName(QStringLiteral("RzPanelKh"));
        m_chooser->searchBox()->setObjectName(QStringLiteral("tkey"));
        m_chooser->orderBox()->setObjectName(QStringLiteral("comSx"));
        GridModel *model = NewPartnerGridModel(
            m_customers,
            {CustomerColumn("kh_sn", "编号", 70), CustomerColumn("kh_name", "客户名称", 160),
             CustomerColumn("kh_lxr", "联系人", 70), CustomerColumn("kh_tele", "联系电话", 100),
             CustomerColumn("kh_address", "联系地址", 160), CustomerColumn("kt_name", "客户类型", 80),
             CustomerColumn("z_name", "所属地区", 80), CustomerColumn("kh_jm", "kh_jm", 60, false),
             CustomerColumn("id", "id", 40, false)});
        model->setKeyField(QStringLiteral("kh_sn"));
        m_chooser->setModel(model);
        m_chooser->grid()->setFooter(QStringLiteral("kh_sn"), FooterKind::Count);
        m_chooser->orderChanged = [this](int index) {
            OpenCustomerList(m_db, *m_context.state, m_customers, index == 1 ? QStringLiteral("1") : QStringLiteral("0"));
        };
    }
    const bool maintain = HasRight(m_db, state, QStringLiteral("qtcz"), 3);
    m_chooser->addButton()->setVisible(maintain);
    m_chooser->modifyButton()->setVisible(maintain);
    QString added;
    if (maintain) {
        m_chooser->addRow = [this, &added] {
            std::unique_ptr<QDialog> d(m_context.registry->create(QStringLiteral("TF_Khgl_Add"), QStringLiteral("添加客户"),
                                                                  m_context, m_chooser));
            d->exec();
            added = d->property(handoff::PartnerCode).toString();
            if (m_chooser->orderBox()->currentIndex() == 1)
                OpenCustomerList(m_db, *m_context.state, m_customers, QStringLiteral("1"));
            else
                m_chooser->orderBox()->setCurrentIndex(1);
            if (!added.isEmpty())
                m_chooser->reject();
        };
        m_chooser->modifyRow = [this](const QVariant &) {
            std::unique_ptr<QDialog> d(m_context.registry->create(QStringLiteral("TF_Khgl_Modi"), QStringLiteral("修改客户"),
                                                                  m_context, m_chooser));
            d->setProperty(handoff::PartnerId, m_chooser->grid()->currentValue(QStringLiteral("id")).toLongLong());
            d->exec();
            OpenCustomers(m_db, m_customers);
        };
    } else {
        m_chooser->addRow = nullptr;
        m_chooser->modifyRow = nullptr;
    }
    m_chooser->grid()->reload(ReloadTarget::First);
    m_chooser->setSearchText(search);
    const int answer = m_chooser->exec();
    m_chooser->addRow = nullptr;
    QString code, name;
    if (!added.isEmpty()) {
        // The customer just added is the one taken.
        code = added;
        m_chooser->grid()->locate(QStringLiteral("kh_sn"), added);
        name = m_chooser->grid()->currentValue(QStringLiteral("kh_name")).toString();
    } else if (answer == QDialog::Accepted) {
        code = m_chooser->chosenCode();
        name = m_chooser->chosenName();
    } else {
        return;
    }
    m_customerSn = code;
    m_customerBox->setText(name);
    if (m_context.state->BindSalesmanCustomer == QLatin1String("1"))
        loadHandlers();
}
