#pragma once

// TF_Spxxgl_Modi "修改商品": the add dialog's screen for one stored goods.

#include "masterdata/forms/spxxgl_add.h"

class TF_Spxxgl_Modi final : public GoodsEditDialog
{
    Q_OBJECT

public:
    TF_Spxxgl_Modi(const ScreenContext &context, QWidget *parent = nullptr);

protected:
    void activate() override;
    void onClassChosen(const GoodsClassRow &row) override;
    void saveInput(const GoodsInput &input) override;
    AuxContext auxContext() const override;

private:
    qint64 m_id = 0;
    QString m_loadedCode;
};
