#pragma once

// The goods class tree with its class menu, shown in the goods window and in the class panels
// of the goods add and modify dialogs. Create, rename and delete go to GoodsClassRules.

#include "masterdata/goodsclassrules.h"

#include <QWidget>

class KeyTree;
class Notices;
class QAction;
class QMenu;

// The classes below the root into a pickers' class tree (payload gc_sn), the first class
// without children selected.
void FillGoodsClassTree(KeyTree *tree, const QSqlDatabase &db);

class GoodsClassTree final : public QWidget
{
    Q_OBJECT

public:
    enum class Place { Window, Dialog };

    GoodsClassTree(const QSqlDatabase &db, Notices &notices, Place place, QWidget *parent = nullptr);

    KeyTree *tree() const { return m_tree; }
    QMenu *menu() const { return m_menu; }

    // Reads the classes again; keeps the selected class when it is still there.
    void reload();
    bool isEmpty() const { return m_rows.isEmpty(); }
    std::optional<GoodsClassRow> current() const;
    void selectRoot();
    void selectSecond();
    void selectBySn(const QString &sn);
    bool selectByName(const QString &name);

    // The menu commands (tests call them as the menu does).
    void createClass();
    void renameClass();
    void deleteClass();

Q_SIGNALS:
    void classClicked();             // a node was clicked
    void classActivated();           // a double click
    void classesChanged();           // created, renamed or deleted
    void moveRequested();            // 类别移动(&Z)

private:
    void prepareMenu();
    void onRenamed(const QString &key, const QString &text);

    QSqlDatabase m_db;
    Notices &m_notices;
    Place m_place;
    KeyTree *m_tree;
    QMenu *m_menu;
    QAction *m_create;
    QAction *m_rename;
    QAction *m_delete;
    QAction *m_move = nullptr;
    QList<GoodsClassRow> m_rows;
};
