#pragma once

// What the inventory document windows (TF_Kcdb, TF_Bsby) add to the kit's document window: the
// document context handed to their dialogs, the warehouse box locked while the document has
// lines, the handler list with its chooser button shown while the list has the focus, the note
// box, the print menus over a print seam, and the pending and query pages left for later.

#include "foundation/doccontext.h"
#include "screenkit/documentwindow.h"
#include "shell/forms/screenregistry.h"

#include <functional>

class KeyedCombo;

// The shape the inventory windows share: the pages' captions, the goods columns of the lines
// (商品编号 … 颜色) followed by `figures`, the date field's rules (a refused future date back to
// today, renumbering on every exit).
DocumentShape InventoryShape(const DocType &type, const QString &caption, const QStringList &pages,
                             const QString &dateCaption, const QList<GridColumn> &figures);
class QGridLayout;
class QLineEdit;
class QMenu;
class QToolButton;

class InventoryWindow : public DocumentWindow
{
    Q_OBJECT

public:
    ~InventoryWindow() override;

    // The print seam: prints (or previews) the document being entered. Until printing is built
    // it opens the registry's screen of the print class (the placeholder).
    std::function<void(bool preview)> printer;

    // The entry page as the dialogs see it: number, day, warehouse, type.
    DocumentContext &documentContext();
    KeyedCombo *warehouseBox() const { return m_warehouse; }
    KeyedCombo *handlerBox() const { return m_handler; }
    QToolButton *handlerButton() const { return m_handlerButton; }
    QLineEdit *noteBox() const { return m_note; }
    QMenu *printMenu() const { return m_printMenu; }
    QMenu *popupPrintMenu() const { return m_popupPrint; }

    // Commands.
    void chooseHandler();
    void printDraft(bool preview);

protected:
    // `handlerTag`: the handler chooser's caller tag; `printClass`: the screen the print seam
    // opens until printing is built.
    InventoryWindow(const DocumentShape &shape, const ScreenContext &context, const QString &handlerTag,
                    const QString &printClass, QWidget *parent);

    // The warehouse box `comCk` with its caption in the header grid at (row, column).
    void placeWarehouse(const QString &caption, int row, int column);
    // 经办人 with its button and 备注 (100 characters, filtered) in the bottom area.
    void placeHandlerAndNote(const QString &noteCaption);
    // Widgets disabled while the document has lines (the warehouse box is one).
    void lockWhileLines(QWidget *widget) { m_locked << widget; }
    void updateLocks();
    // The handlers (u_kc) loaded, the first chosen.
    void fillHandlers();
    // A modal dialog of the registry opened on the document context (a line dialog: with its
    // mode tag, goods and line); returns its result.
    int openOnContext(const QString &screenClass, const QString &caption, DocumentContext &context,
                      const QString &tag = QString(), const QString &goods = QString(), qint64 lineId = 0);
    bool eventFilter(QObject *watched, QEvent *event) override;

    ScreenContext m_context;
    QSqlDatabase m_db;
    DocumentContext m_ctx;

private:
    QString m_handlerTag;
    QString m_printClass;
    KeyedCombo *m_warehouse = nullptr;
    KeyedCombo *m_handler = nullptr;
    QToolButton *m_handlerButton = nullptr;
    QLineEdit *m_note = nullptr;
    QMenu *m_printMenu = nullptr;
    QMenu *m_popupPrint = nullptr;
    QList<QWidget *> m_locked;
};
