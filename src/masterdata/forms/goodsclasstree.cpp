#include "masterdata/forms/goodsclasstree.h"

#include "foundation/notices.h"
#include "screenkit/trees.h"

#include <QMenu>
#include <QVBoxLayout>

GoodsClassTree::GoodsClassTree(const QSqlDatabase &db, Notices &notices, Place place, QWidget *parent)
    : QWidget(parent), m_db(db), m_notices(notices), m_place(place), m_tree(new KeyTree(this)), m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("GoodsClassTree"));
    m_tree->setObjectName(QStringLiteral("TreeView1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);

    const bool window = place == Place::Window;
    m_create = m_menu->addAction(window ? QStringLiteral("创建类别(&W)") : QStringLiteral("创建类别(&X)"));
    m_rename = m_menu->addAction(window ? QStringLiteral("重命名(&X)") : QStringLiteral("重命名(&Y)"));
    m_delete = m_menu->addAction(window ? QStringLiteral("删除类别(&Y)") : QStringLiteral("删除类别(&Z)"));
    if (window)
        m_move = m_menu->addAction(QStringLiteral("类别移动(&Z)"));
    connect(m_create, &QAction::triggered, this, &GoodsClassTree::createClass);
    connect(m_rename, &QAction::triggered, this, &GoodsClassTree::renameClass);
    connect(m_delete, &QAction::triggered, this, &GoodsClassTree::deleteClass);
    if (m_move)
        connect(m_move, &QAction::triggered, this, [this] {
            if (!m_tree->currentItem()) {
                m_notices.notice(QStringLiteral("请选择类别！"));
                return;
            }
            if (const auto c = current(); c && !c->isRoot())
                Q_EMIT moveRequested();
        });
    m_tree->setContextMenu(m_menu, [this](QMenu *) { prepareMenu(); });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this] { Q_EMIT classClicked(); });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] { Q_EMIT classActivated(); });
    connect(m_tree, &KeyTree::renamed, this, &GoodsClassTree::onRenamed);
}

void GoodsClassTree::prepareMenu()
{
    const auto c = current();
    const bool real = c && !c->isRoot();
    m_create->setEnabled(c.has_value());
    m_rename->setEnabled(real);
    m_delete->setEnabled(real);
    if (m_move)
        m_move->setEnabled(real || !c);
}

void GoodsClassTree::reload()
{
    const QString keep = m_tree->currentKey();
    m_rows = LoadGoodsClasses(m_db);
    QList<TreeRow> rows;
    for (const GoodsClassRow &r : m_rows)
        rows << TreeRow{QString::number(r.key), QString::number(r.parent), r.name,
                        {{QStringLiteral("gc_sn"), r.sn}, {QStringLiteral("gc_cid"), r.cid}}};
    m_tree->setRows(rows);
    if (!keep.isEmpty() && m_tree->itemForKey(keep))
        m_tree->setCurrentItem(m_tree->itemForKey(keep));
}

std::optional<GoodsClassRow> GoodsClassTree::current() const
{
    const QString key = m_tree->currentKey();
    for (const GoodsClassRow &r : m_rows)
        if (QString::number(r.key) == key)
            return r;
    return std::nullopt;
}

void GoodsClassTree::selectRoot()
{
    m_tree->selectRoot();
    m_tree->expandAll();
}

void GoodsClassTree::selectSecond()
{
    if (m_rows.size() >= 2)
        m_tree->selectSecond();
    else
        m_tree->selectRoot();
}

void GoodsClassTree::selectBySn(const QString &sn)
{
    for (const GoodsClassRow &r : m_rows)
        if (r.sn == sn && !r.isRoot()) {
            if (QTreeWidgetItem *item = m_tree->itemForKey(QString::number(r.key))) {
                m_tree->setCurrentItem(item);
                m_tree->scrollToItem(item);
            }
            return;
        }
}

bool GoodsClassTree::selectByName(const QString &name)
{
    return m_tree->findAndSelect(name);
}

void GoodsClassTree::createClass()
{
    const auto parent = current();
    if (!parent)
        return;
    GoodsClassRules rules(m_db, m_notices);
    const auto row = rules.create(parent->key);
    if (!row)
        return;
    reload();
    if (QTreeWidgetItem *item = m_tree->itemForKey(QString::number(row->key))) {
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
        m_tree->startRename();
    }
    Q_EMIT classesChanged();
}

void GoodsClassTree::renameClass()
{
    const auto c = current();
    if (c && !c->isRoot())
        m_tree->startRename();
}

void GoodsClassTree::onRenamed(const QString &key, const QString &text)
{
    GoodsClassRules rules(m_db, m_notices);
    rules.rename(key.toInt(), text);
    // An empty name keeps the old one: the tree shows what is stored.
    QMetaObject::invokeMethod(this, [this] {
        reload();
        Q_EMIT classesChanged();
    }, Qt::QueuedConnection);
}

void GoodsClassTree::deleteClass()
{
    const auto c = current();
    if (!c)
        return;
    GoodsClassRules rules(m_db, m_notices);
    if (!rules.remove(c->key))
        return;
    reload();
    selectSecond();
    Q_EMIT classesChanged();
}

void FillGoodsClassTree(KeyTree *tree, const QSqlDatabase &db)
{
    QList<TreeRow> rows;
    for (const GoodsClassRow &c : LoadGoodsClasses(db)) {
        if (c.isRoot())
            continue;
        rows << TreeRow{QString::number(c.key), QString::number(c.parent), c.name, {{QStringLiteral("gc_sn"), c.sn}}};
    }
    tree->setRows(rows);
    tree->selectFirstLeaf();
}
