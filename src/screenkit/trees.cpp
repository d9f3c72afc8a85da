#include "screenkit/trees.h"

#include <QContextMenuEvent>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QStyle>

KeyTree::KeyTree(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::currentItemChanged, this, &KeyTree::markCurrent);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int) {
        if (!m_filling)
            Q_EMIT renamed(item->data(0, Qt::UserRole).toString(), item->text(0));
    });
}

void KeyTree::setRows(const QList<TreeRow> &rows)
{
    m_filling = true;
    clear();
    QHash<QString, QTreeWidgetItem *> byKey;
    QList<QTreeWidgetItem *> items;
    for (const TreeRow &r : rows) {
        auto *item = new QTreeWidgetItem(QStringList{r.text});
        item->setData(0, Qt::UserRole, r.key);
        item->setData(0, Qt::UserRole + 1, r.payload);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        byKey.insert(r.key, item);
        items << item;
    }
    for (int i = 0; i < rows.size(); ++i) {
        QTreeWidgetItem *parent = rows.at(i).parent != rows.at(i).key ? byKey.value(rows.at(i).parent) : nullptr;
        if (parent)
            parent->addChild(items.at(i));
        else
            addTopLevelItem(items.at(i));
    }
    refreshIcons();
    m_filling = false;
}

void KeyTree::refreshIcons()
{
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon leaf = style()->standardIcon(QStyle::SP_FileIcon);
    for (QTreeWidgetItem *item : inTreeOrder())
        item->setIcon(0, isFolder(item) ? folder : leaf);
}

QList<QTreeWidgetItem *> KeyTree::inTreeOrder() const
{
    QList<QTreeWidgetItem *> out;
    std::function<void(QTreeWidgetItem *)> walk = [&](QTreeWidgetItem *item) {
        out << item;
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i));
    };
    for (int i = 0; i < topLevelItemCount(); ++i)
        walk(topLevelItem(i));
    return out;
}

QTreeWidgetItem *KeyTree::itemForKey(const QString &key) const
{
    for (QTreeWidgetItem *item : inTreeOrder()) {
        if (item->data(0, Qt::UserRole).toString() == key)
            return item;
    }
    return nullptr;
}

QString KeyTree::currentKey() const
{
    return currentItem() ? currentItem()->data(0, Qt::UserRole).toString() : QString();
}

QVariant KeyTree::currentPayload(const QString &name) const
{
    return currentItem() ? currentItem()->data(0, Qt::UserRole + 1).toMap().value(name) : QVariant();
}

void KeyTree::markCurrent(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    const bool filling = m_filling;
    m_filling = true;  // font changes are no rename
    if (previous) {
        QFont f = previous->font(0);
        f.setBold(false);
        previous->setFont(0, f);
        previous->setForeground(0, QBrush(Qt::black));
    }
    if (current) {
        QFont f = current->font(0);
        f.setBold(true);
        current->setFont(0, f);
        current->setForeground(0, QBrush(Qt::red));
    }
    m_filling = filling;
}

void KeyTree::selectRoot()
{
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0));
}

void KeyTree::selectSecond()
{
    const auto all = inTreeOrder();
    if (all.size() > 1)
        setCurrentItem(all.at(1));
}

void KeyTree::selectFirstLeaf()
{
    for (QTreeWidgetItem *item : inTreeOrder()) {
        if (!isFolder(item)) {
            for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
                p->setExpanded(true);
            setCurrentItem(item);
            return;
        }
    }
}

bool KeyTree::findAndSelect(const QString &text)
{
    for (QTreeWidgetItem *item : inTreeOrder()) {
        if (item->text(0) == text) {
            for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
                p->setExpanded(true);
            item->setExpanded(true);
            setCurrentItem(item);
            scrollToItem(item);
            return true;
        }
    }
    return false;
}

void KeyTree::startRename()
{
    if (currentItem())
        editItem(currentItem(), 0);
}

void KeyTree::setContextMenu(QMenu *menu, std::function<void(QMenu *)> beforeShow)
{
    m_menu = menu;
    m_beforeShow = std::move(beforeShow);
}

void KeyTree::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_menu) {
        QTreeWidget::contextMenuEvent(event);
        return;
    }
    if (QTreeWidgetItem *item = itemAt(event->pos()))
        setCurrentItem(item);
    if (m_beforeShow)
        m_beforeShow(m_menu);
    m_menu->popup(event->globalPos());
}

// ---------------------------------------------------------------------------------------------

CheckTree::CheckTree(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
}

QTreeWidgetItem *CheckTree::addRoot(const QString &text, const QVariant &data)
{
    auto *item = new QTreeWidgetItem(this, QStringList{text});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
    item->setCheckState(0, Qt::Unchecked);
    item->setData(0, Qt::UserRole, data);
    item->setExpanded(true);
    return item;
}

QTreeWidgetItem *CheckTree::addChild(QTreeWidgetItem *root, const QString &text, const QVariant &data)
{
    auto *item = new QTreeWidgetItem(root, QStringList{text});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    item->setData(0, Qt::UserRole, data);
    return item;
}

QList<QTreeWidgetItem *> CheckTree::children() const
{
    QList<QTreeWidgetItem *> out;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *root = topLevelItem(i);
        for (int c = 0; c < root->childCount(); ++c)
            out << root->child(c);
    }
    return out;
}

QList<bool> CheckTree::childStates() const
{
    QList<bool> out;
    for (QTreeWidgetItem *item : children())
        out << (item->checkState(0) == Qt::Checked);
    return out;
}

void CheckTree::setChildStates(const QList<bool> &states)
{
    const auto items = children();
    for (int i = 0; i < items.size() && i < states.size(); ++i)
        items.at(i)->setCheckState(0, states.at(i) ? Qt::Checked : Qt::Unchecked);
}

void CheckTree::checkAll(bool checked)
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

// ---------------------------------------------------------------------------------------------

StatusPanes::StatusPanes(int panes, QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (int i = 0; i < panes; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("pane%1").arg(i));
        label->setFrameShape(QFrame::StyledPanel);
        addWidget(label, 1);
        m_panes << label;
    }
}

void StatusPanes::setPaneText(int pane, const QString &text)
{
    if (pane >= 0 && pane < m_panes.size())
        m_panes.at(pane)->setText(text);
}

QString StatusPanes::paneText(int pane) const
{
    return pane >= 0 && pane < m_panes.size() ? m_panes.at(pane)->text() : QString();
}

QLabel *StatusPanes::pane(int pane) const
{
    return m_panes.value(pane);
}
