#pragma once

// TF_Cgjh_Sele "商品信息(采购进货)", TF_Cgth_Sele "商品信息(采购退货)", TF_Cgd_Sele
// "商品信息(采购订单)": the one line dialog of the purchase documents, a variant per document.
// Inputs as dynamic properties (purchasingscreens.h): the document context, the mode tag, the
// goods code and the line id; it writes on 确定 by mode and tells the context.

#include "foundation/doccontext.h"
#include "foundation/lineentrymodel.h"
#include "purchasing/purchaselinewriter.h"
#include "screenkit/lineboxes.h"
#include "screenkit/linedialog.h"
#include "shell/forms/screenregistry.h"

#include <memory>

class MoneyEdit;
class QComboBox;
class QLabel;
class QLineEdit;
class SqlGridModel;
class DataGrid;

class TF_Cgjh_Sele final : public LineDialog
{
    Q_OBJECT

public:
    TF_Cgjh_Sele(PurchaseKind kind, const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Cgjh_Sele() override;

    PurchaseKind kind() const { return m_kind; }
    const LineEntryModel &model() const { return m_model; }
    DataGrid *quoteGrid() const { return m_quotes; }
    QWidget *quotePage() const { return m_quotePage; }

private:
    void activate();
    void applyVisibility();
    void onUnitChosen(int index);
    void takeRow(double price, double quantity);
    bool confirmLine();
    void openPicture();

    PurchaseKind m_kind;
    ScreenContext m_context;
    PurchaseLineWriter m_writer;
    LineEntryModel m_model;
    DocumentContext *m_doc = nullptr;
    DocumentContext m_ownDoc;  // when the caller gave none
    LineMode m_mode = LineMode::None;
    QString m_goods;
    qint64 m_lineId = 0;
    StoredUnitMemo m_storedUnit;
    QString m_sourceNumber;
    QString m_sourceLineId = QStringLiteral("0");
    LineBoxes *m_boxes = nullptr;

    MoneyEdit *m_price = nullptr;
    MoneyEdit *m_quantity = nullptr;
    QComboBox *m_unit = nullptr;
    MoneyEdit *m_rate = nullptr;
    QWidget *m_rateRow = nullptr;
    MoneyEdit *m_taxPrice = nullptr;
    QLabel *m_discountHint = nullptr;
    MoneyEdit *m_discount = nullptr;
    MoneyEdit *m_total = nullptr;
    QLabel *m_totalCaption = nullptr;
    QLineEdit *m_note = nullptr;
    SqlGridModel *m_historyModel = nullptr;
    DataGrid *m_quotes = nullptr;
    SqlGridModel *m_quoteModel = nullptr;
    QWidget *m_quotePage = nullptr;
};
