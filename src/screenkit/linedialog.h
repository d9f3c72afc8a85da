#pragma once

// The line dialog of every document type: read-only goods labels, the screen's edit boxes, a
// history page (read-only grid with a quantity footer), "查看图片(F4)", "确定(F5)" and
// "退出(Esc)"; Enter goes to the next control. It writes at most one row, only on 确定 (the
// confirm hook writes and answers whether the dialog may close).

#include "screenkit/screenbase.h"

#include <QVariantMap>

#include <functional>

class DataGrid;
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
    void setInfo(const QVariantMap &values);
    QString infoText(const QString &field) const;
    // An edit box of the screen's (MoneyEdit, KeyedCombo …) under a caption.
    void addEdit(const QString &caption, QWidget *editor);

    DataGrid *historyGrid() const { return m_history; }
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
    QFormLayout *m_info;
    QFormLayout *m_edits;
    QHash<QString, QLabel *> m_infoLabels;
    DataGrid *m_history;
    QPushButton *m_picture;
    QPushButton *m_ok;
    QPushButton *m_exit;
};
