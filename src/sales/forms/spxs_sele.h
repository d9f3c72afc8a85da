#pragma once

// TF_Spxs_Sele "商品信息(商品销售)": the sale line dialog. Inputs as dynamic properties (the
// purchase documents' names, purchasing/forms/purchasingscreens.h): the document context
// (partner = the customer, the cost date), the mode tag ("spxs_new", "spxs", "spxs_add",
// "spxs_modi", "spxs_modish"), the goods code and the line id. It shows the goods, the stock,
// the customer's sale history and the goods' purchase history, opens the picture viewer (F4)
// and the price-level chooser TF_Price, and writes one line on 确定 (salelinewriter.h).

#include "foundation/doccontext.h"
#include "foundation/lineentrymodel.h"
#include "sales/salelinewriter.h"
#include "screenkit/lineboxes.h"
#include "screenkit/linedialog.h"
#include "shell/forms/screenregistry.h"

class DataGrid;
class MoneyEdit;
class QComboBox;
class QLabel;
class QLineEdit;
class SqlGridModel;

class TF_Spxs_Sele final : public LineDialog
{
    Q_OBJECT

public:
    TF_Spxs_Sele(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Spxs_Sele() override;

    const LineEntryModel &model() const { return m_model; }
    DataGrid *purchaseGrid() const { return m_purchases; }
    QWidget *purchasePage() const { return m_purchasePage; }
    // The price button: TF_Price on the goods; its choice becomes the price.
    void choosePrice();

private:
    void activate();
    void applyVisibility();
    void onUnitChosen(int index);
    void takeHistoryRow(int row);
    bool confirmLine();
    void openPicture();

    ScreenContext m_context;
    SaleLineWriter m_writer;
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
    bool m_activated = false;

    MoneyEdit *m_price = nullptr;
    QPushButton *m_priceButton = nullptr;
    QWidget *m_priceRow = nullptr;
    MoneyEdit *m_discount = nullptr;
    QLabel *m_discounted = nullptr;
    MoneyEdit *m_quantity = nullptr;
    QComboBox *m_unit = nullptr;
    MoneyEdit *m_total = nullptr;
    MoneyEdit *m_rate = nullptr;
    QWidget *m_rateRow = nullptr;
    MoneyEdit *m_taxPrice = nullptr;
    MoneyEdit *m_retail = nullptr;
    QLineEdit *m_note = nullptr;
    MoneyEdit *m_cost = nullptr;
    QLineEdit *m_batch = nullptr;
    MoneyEdit *m_available = nullptr;
    SqlGridModel *m_historyModel = nullptr;
    DataGrid *m_purchases = nullptr;
    SqlGridModel *m_purchaseModel = nullptr;
    QWidget *m_purchasePage = nullptr;
};
