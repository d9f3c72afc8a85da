#pragma once

// The floating barcode panel of the document windows: "条码：", the entry box, a close button
// and a menu button, dragged by its two images.

#include <QFrame>
#include <QPoint>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

class BarcodePanel final : public QFrame
{
    Q_OBJECT

public:
    // The check items of its menu are optional, one by one.
    explicit BarcodePanel(QWidget *parent = nullptr, bool repeatsItem = true, bool editorItem = true);

    QLineEdit *entryBox() const { return m_box; }
    QMenu *menu() const { return m_menu; }
    QToolButton *closeButton() const { return m_close; }
    QToolButton *menuButton() const { return m_menuButton; }
    QList<QLabel *> dragImages() const { return {m_leftImage, m_rightImage}; }

    // "同一条码不能重复添加商品(&Y)" and "添加完商品后打开修改窗口(&Z)" (false without the item).
    bool refusesRepeats() const;
    void setRefusesRepeats(bool on);
    bool opensEditorAfterAdd() const;
    void setOpensEditorAfterAdd(bool on);

Q_SIGNALS:
    // Enter in the box with a code; the box is emptied for the next scan.
    void barcodeEntered(const QString &code);
    void hideRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_box;
    QToolButton *m_close;
    QToolButton *m_menuButton;
    QMenu *m_menu;
    QAction *m_repeats = nullptr;
    QAction *m_editor = nullptr;
    QLabel *m_leftImage;
    QLabel *m_rightImage;
    QPoint m_dragStart;
    bool m_dragging = false;
};
