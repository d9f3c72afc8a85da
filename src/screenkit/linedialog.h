#pragma once

// The line dialog of every document type: read-only goods labels, the screen's edit boxes,
// below them a page control with the history page (read-only grid with a quantity footer; the
// screen names it and may add pages such as quotes), "查看图片(F4)", "确定(F5)" and
// "退出(Esc)"; Enter goes to the next control. It writes at most one row, only on 确定 (the
// confirm hook writes and answers whether the dialog may close).

#include "screenkit/screenbase.h"

#include <QVariantMap>

#include <functional>

class DataGrid;
class MoneyEdit;
class QFormLayout;
class QLabel;
class QPushButton;
class QTabWidget;

class LineDialog : public ScreenDialog
{
    Q_OBJECT

public:
    LineDialog(const QString &caption, int uiFontSize, QWidget *parent = nullptr);

    // A read-only label "caption" + value, found by its field name.
    QLabel *addInfo(const QString &field, const QString &caption);
    // The goods labels every line dialog shows: 商品编号 g_sn, 商品名称 g_name, 规格型号
    // gg_name, 单位 dw_name, 生产厂商 g_sccs, 颜色 color_name, 当前库存 kc_sl, 备注 g_bz.
    void addGoodsInfo();
    void setInfoText(const QString &field, const QString &text);
    void setInfo(const QVariantMap &values);
    QString infoText(const QString &field) const;
    QLabel *infoLabel(const QString &field) const { return m_infoLabels.value(field); }
    // Shows or hides a label with its caption.
    void setInfoRowVisible(const QString &field, bool visible);
    // An edit box of the screen's (MoneyEdit, KeyedCombo …, or a row of several) under a
    // caption; the caption label is returned.
    QLabel *addEdit(const QString &caption, QWidget *editor);
    // The tax rate box `edit` with "%" after it under "税率："; the row is returned.
    QWidget *addRateEdit(MoneyEdit *edit);
    // Shows or hides an edit box with its caption.
    void setEditRowVisible(QWidget *editor, bool visible);

    DataGrid *historyGrid() const { return m_history; }
    QWidget *historyPage() const { return m_historyPage; }
    void setHistoryCaption(const QString &caption);
    // The pages below the boxes (history first).
    QTabWidget *pages() const { return m_pages; }
    QPushButton *pictureButton() const { return m_picture; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *exitButton() const { return m_exit; }

    // Writes the row; true closes the dialog. Run once per 确定, never twice at a time.
    std::function<bool()> confirm;
    std::function<void()> showPicture;
    // Shows and hides boxes by rights, at every opening.
    std::function<void()> applyRights;

private:
    void onConfirm();

    QTabWidget *m_pages;
    QWidget *m_historyPage;
    QFormLayout *m_info;
    QFormLayout *m_edits;
    QHash<QString, QLabel *> m_infoLabels;
    DataGrid *m_history;
    QPushButton *m_picture;
    QPushButton *m_ok;
    QPushButton *m_exit;
};
