#pragma once

// What the inventory line dialogs (TF_Kcdb_Sele, TF_Bsby_Sele) share on the kit's line
// dialog: the goods labels, no history page and no picture, and the inputs read at every
// opening (document context, mode tag, goods, line; inventoryscreens.h).

#include "foundation/doccontext.h"
#include "inventory/transferlinewriter.h"
#include "screenkit/linedialog.h"
#include "shell/forms/screenregistry.h"

class InventoryLineDialog : public LineDialog
{
    Q_OBJECT

public:
    ~InventoryLineDialog() override;

protected:
    // `stockLast`: 当前库存 after 备注 (loss and overflow) instead of before it.
    InventoryLineDialog(const QString &caption, const ScreenContext &context, bool stockLast, QWidget *parent);

    // Reads the inputs: the context (its own of `type` when none was given), mode, goods, line.
    void readInputs(InventoryDoc doc);
    // The goods labels; `unit` the line's unit (the base unit when empty).
    void showGoods(const InventoryGoodsLabels &goods, const QString &unit = QString());

    ScreenContext m_context;
    DocumentContext *m_doc = nullptr;
    DocumentContext m_ownDoc;
    InventoryLineMode m_mode = InventoryLineMode::None;
    QString m_goods;
    qint64 m_lineId = 0;
};
