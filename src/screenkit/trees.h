#pragma once

// Trees built from rows and the status panes.

#include <QStatusBar>
#include <QTreeWidget>
#include <QVariant>

#include <functional>

class QLabel;

struct TreeRow
{
    QString key;
    QString parent;  // key of the parent; a parent not among the rows makes a root
    QString text;
    QVariantMap payload;  // gc_sn, gc_cid …
};

// A tree of keyed nodes (goods classes by gc_key / gc_pid). Leaf image without children,
// folder image with; the selected node is bold red.
class KeyTree final : public QTreeWidget
{
    Q_OBJECT

public:
    explicit KeyTree(QWidget *parent = nullptr);

    void setRows(const QList<TreeRow> &rows);  // in the order given (gc_key)
    QTreeWidgetItem *itemForKey(const QString &key) const;
    QString currentKey() const;
    QVariant currentPayload(const QString &name) const;

    void selectRoot();
    void selectSecond();           // the second node in tree order
    void selectFirstLeaf();        // the first node without children in tree order
    bool findAndSelect(const QString &text);  // selects and expands the first node with it
    void startRename();            // in-place rename of the current node

    // Called before the context menu opens (enable, re-caption items).
    void setContextMenu(QMenu *menu, std::function<void(QMenu *)> beforeShow = {});

    static bool isFolder(const QTreeWidgetItem *item) { return item->childCount() > 0; }

Q_SIGNALS:
    void renamed(const QString &key, const QString &text);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void refreshIcons();
    void markCurrent(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    QList<QTreeWidgetItem *> inTreeOrder() const;

    QMenu *m_menu = nullptr;
    std::function<void(QMenu *)> m_beforeShow;
    bool m_filling = false;
};

// A tree of check boxes (rights, salesmen, operators): a root checks or clears its children
// and shows a partial state when only some are checked.
class CheckTree final : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CheckTree(QWidget *parent = nullptr);

    QTreeWidgetItem *addRoot(const QString &text, const QVariant &data = {});
    QTreeWidgetItem *addChild(QTreeWidgetItem *root, const QString &text, const QVariant &data = {});
    // Children of every root in tree order.
    QList<bool> childStates() const;
    void setChildStates(const QList<bool> &states);
    QList<QTreeWidgetItem *> children() const;
    void checkAll(bool checked);  // "全选"
};

// A status bar of n text panes.
class StatusPanes final : public QStatusBar
{
    Q_OBJECT

public:
    explicit StatusPanes(int panes, QWidget *parent = nullptr);
    void setPaneText(int pane, const QString &text);
    QString paneText(int pane) const;
    QLabel *pane(int pane) const;
    int paneCount() const { return int(m_panes.size()); }

private:
    QList<QLabel *> m_panes;
};
