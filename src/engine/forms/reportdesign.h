#pragma once

// TF_ReportDesign "报表设计 — <file>": the editor of one print template. The page from the
// fixed sizes, the bands with their heights and options, the items of the chosen band as a
// table (kind, position, size, text, font size, bold, alignment, border, format, barcode
// kind), the raw receipt layout as plain lines, and a live preview from the declared values,
// sample rows the caller supplies, or a stored document typed in "预览单号".
// "保存(F5)" writes atomically and keeps <file>.bak; "恢复默认" puts the shipped template
// back; "退出(Esc)" asks "模板已修改，是否保存？" when something changed.

#include "report/model/reportoutput.h"
#include "report/model/reporttemplate.h"
#include "screenkit/screenbase.h"

#include <QString>

#include <functional>

class DataGrid;
class KeyedCombo;
class Notices;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;
class QTimer;
class RowSetModel;

class TF_ReportDesign final : public ScreenDialog
{
    Q_OBJECT

public:
    // `name` as stored ("txm.fr3"); `folder` the template folder (the program's report/ when
    // empty). A missing file opens an empty template under that name.
    TF_ReportDesign(const QString &name, Notices &notices, int uiFontSize, const QString &folder = {},
                    QWidget *parent = nullptr);

    // Rows and values for the preview when no document number is given (the label queue for
    // 条码设置). Called on every refresh with a job holding the declared variables.
    std::function<void(PrintJob &job)> sampleData;
    // Fills a job from a stored document through the real print routine; false when the
    // number gives nothing (the preview then shows the declared values).
    std::function<bool(const QString &number, PrintJob &job)> documentPreview;

    const ReportTemplate &currentTemplate() const { return m_template; }
    QString filePath() const { return m_path; }
    bool isModified() const { return m_modified; }

    // "保存(F5)": false when refused (an item outside the page) or the file cannot be written.
    bool save();
    // "恢复默认".
    void restoreDefault();
    // "退出(Esc)".
    void exitEditor();

    // The editing steps the controls run (tests call them as the controls do).
    void selectBand(int band);
    int currentBand() const { return m_band; }
    void addBand(BandKind kind);
    void removeBand();
    void addItem();
    void copyItem();
    void deleteItem();
    void moveItem(int delta);
    // An item table edit: field of the grid ("x", "text", "bold" …) and the text typed.
    void setItemField(int item, const QString &field, const QString &text);
    void setPageSize(const QString &size);

    // Lays the preview out again now (normally after a short pause in typing).
    void refreshPreview();
    // The preview page as painted (tests and screenshots).
    QImage previewImage() const;
    int previewPages() const { return m_previewPages; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void build();
    void loadFile();
    void showTemplate();
    void showBand();
    void reloadItems(int keepRow = -1);
    void readPage();
    void readBand();
    void readRaw();
    void changed();
    void updateBandList();

    QString m_name;
    Notices &m_notices;
    QString m_folder;
    QString m_path;
    ReportTemplate m_template;
    bool m_modified = false;
    bool m_showing = false;  // controls are being filled: no change is recorded
    int m_band = -1;

    // Page.
    KeyedCombo *m_pageSize = nullptr;
    QDoubleSpinBox *m_pageWidth = nullptr;
    QDoubleSpinBox *m_pageHeight = nullptr;
    QCheckBox *m_landscape = nullptr;
    QDoubleSpinBox *m_margins[4] = {};
    QDoubleSpinBox *m_fontSize = nullptr;
    QLineEdit *m_title = nullptr;
    // Bands.
    QListWidget *m_bands = nullptr;
    KeyedCombo *m_newBandKind = nullptr;
    QDoubleSpinBox *m_bandHeight = nullptr;
    QCheckBox *m_firstPageOnly = nullptr;
    QLineEdit *m_dataSet = nullptr;
    QSpinBox *m_columns = nullptr;
    QDoubleSpinBox *m_columnWidth = nullptr;
    // Items.
    DataGrid *m_items = nullptr;
    RowSetModel *m_itemModel = nullptr;
    // Raw layout.
    QCheckBox *m_rawPresent = nullptr;
    QSpinBox *m_rawColumns = nullptr;
    QSpinBox *m_rawFeed = nullptr;
    QCheckBox *m_rawCut = nullptr;
    QLineEdit *m_rawDataSet = nullptr;
    QPlainTextEdit *m_rawHeader = nullptr;
    QPlainTextEdit *m_rawDetail = nullptr;
    QPlainTextEdit *m_rawFooter = nullptr;
    // Preview.
    QLineEdit *m_previewNumber = nullptr;
    QSpinBox *m_previewPage = nullptr;
    QLabel *m_preview = nullptr;
    QLabel *m_previewInfo = nullptr;
    QTimer *m_previewTimer = nullptr;
    int m_previewPages = 0;
};
