#pragma once

// TF_Spxxgl_Dw "辅助单位设置" and TF_Spxxgl_Tm "一品多码设置": one unit or extra barcode of the
// goods add and modify dialogs, in the mode they hand over.

#include "masterdata/auxunitrules.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

class MoneyEdit;
class QComboBox;
class QLabel;
class QLineEdit;

class TF_Spxxgl_Dw final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Spxxgl_Dw(const ScreenContext &context, QWidget *parent = nullptr);

    QComboBox *unitCombo() const { return m_unit; }
    MoneyEdit *factorEdit() const { return m_factor; }
    QLineEdit *barcodeBox() const { return m_barcode; }
    MoneyEdit *priceEdit(int i) const { return m_prices[i]; }  // 0 purchase, 1 sale, 2–6 levels, 7 retail
    void save();

private:
    void activate();
    void onFactorChanged();
    AuxContext context() const;

    ScreenContext m_context;
    QComboBox *m_unit;
    MoneyEdit *m_factor;
    QLineEdit *m_barcode;
    MoneyEdit *m_prices[8];
    QLabel *m_priceLabels[8];
};

class TF_Spxxgl_Tm final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Spxxgl_Tm(const ScreenContext &context, QWidget *parent = nullptr);

    QLineEdit *barcodeBox() const { return m_barcode; }
    QLineEdit *noteBox() const { return m_note; }
    void save();

private:
    void activate();
    AuxContext context() const;

    ScreenContext m_context;
    QLineEdit *m_barcode;
    QLineEdit *m_note;
};
