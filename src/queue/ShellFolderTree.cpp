#include "queue/ShellFolderTree.h"

#include <QAbstractFileIconProvider>
#include <QDir>
#include <QFileSystemModel>
#include <QTreeView>

// ---- ShellFolderModel -------------------------------------------------------
//
// Proxy indexes below the top node carry the source's row, column 0 and
// internal pointer, so mapping is direct; the top node carries a tag of its
// own. Only column 0 (the folder name) is shown.

ShellFolderModel::ShellFolderModel(QFileSystemModel *source, const QString &topFolder, QObject *parent)
    : QAbstractProxyModel(parent), m_source(source), m_computer(topFolder.isEmpty())
{
    QAbstractProxyModel::setSourceModel(source);
    if (!m_computer)
        m_top = source->index(topFolder);
    connectSource();
}

QModelIndex ShellFolderModel::topIndex() const
{
    return hasTop() ? createIndex(0, 0, tag()) : QModelIndex();
}

bool ShellFolderModel::isTop(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.internalPointer() == tag();
}

QModelIndex ShellFolderModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column != 0)
        return {};
    if (!parent.isValid())
        return row == 0 ? topIndex() : QModelIndex();
    const QModelIndex source = m_source->index(row, 0, mapToSource(parent));
    return source.isValid() ? createIndex(source.row(), 0, source.internalPointer()) : QModelIndex();
}

QModelIndex ShellFolderModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || isTop(child))
        return {};
    const QModelIndex sourceParent = mapToSource(child).parent();
    QModelIndex proxyParent;
    shownParent(sourceParent, proxyParent);
    return proxyParent;
}

QModelIndex ShellFolderModel::sibling(int row, int column, const QModelIndex &idx) const
{
    return index(row, column, parent(idx));
}

int ShellFolderModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return hasTop() ? 1 : 0;
    if (parent.column() != 0)
        return 0;
    return m_source->rowCount(mapToSource(parent));
}

int ShellFolderModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool ShellFolderModel::hasChildren(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return hasTop();
    return m_source->hasChildren(mapToSource(parent));
}

bool ShellFolderModel::canFetchMore(const QModelIndex &parent) const
{
    return parent.isValid() && m_source->canFetchMore(mapToSource(parent));
}

void ShellFolderModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid())
        m_source->fetchMore(mapToSource(parent));
}

QVariant ShellFolderModel::data(const QModelIndex &index, int role) const
{
    if (m_computer && isTop(index))
        return (role == Qt::DisplayRole || role == Qt::DecorationRole) ? m_source->myComputer(role) : QVariant();
    return QAbstractProxyModel::data(index, role);
}

QVariant ShellFolderModel::headerData(int, Qt::Orientation, int) const
{
    return {};
}

Qt::ItemFlags ShellFolderModel::flags(const QModelIndex &index) const
{
    if (isTop(index))
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.isValid() ? m_source->flags(mapToSource(index)) & (Qt::ItemIsEnabled | Qt::ItemIsSelectable)
                           : Qt::NoItemFlags;
}

QModelIndex ShellFolderModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid())
        return {};
    if (isTop(proxyIndex))
        return m_computer ? QModelIndex() : QModelIndex(m_top);
    return createSourceIndex(proxyIndex.row(), proxyIndex.column(), proxyIndex.internalPointer());
}

QModelIndex ShellFolderModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.column() != 0)
        return {};
    if (!m_computer && sourceIndex == m_top)
        return topIndex();
    QModelIndex proxyParent;
    if (!shownParent(sourceIndex.parent(), proxyParent))
        return {};
    return createIndex(sourceIndex.row(), 0, sourceIndex.internalPointer());
}

bool ShellFolderModel::shownParent(const QModelIndex &sourceParent, QModelIndex &proxyParent) const
{
    proxyParent = QModelIndex();
    if (!hasTop())
        return false;
    if (m_computer ? !sourceParent.isValid() : sourceParent == m_top) {
        proxyParent = topIndex();
        return true;
    }
    if (!sourceParent.isValid())
        return false;
    if (!m_computer) {
        // Shown only when it lies below the top folder.
        QModelIndex up = sourceParent.parent();
        while (up.isValid() && up != m_top)
            up = up.parent();
        if (!up.isValid())
            return false;
    }
    proxyParent = createIndex(sourceParent.row(), 0, sourceParent.internalPointer());
    return true;
}

bool ShellFolderModel::topAmong(const QModelIndex &sourceParent, int first, int last) const
{
    return !m_computer && m_top.isValid() && m_top.parent() == sourceParent && m_top.row() >= first &&
           m_top.row() <= last;
}

void ShellFolderModel::connectSource()
{
    QAbstractItemModel *s = m_source;
    connect(s, &QAbstractItemModel::rowsAboutToBeInserted, this, [this](const QModelIndex &p, int first, int last) {
        QModelIndex pp;
        if (shownParent(p, pp)) {
            beginInsertRows(pp, first, last);
            m_pending.append(Rows);
        } else {
            m_pending.append(Nothing);
        }
    });
    connect(s, &QAbstractItemModel::rowsInserted, this, [this] {
        if (!m_pending.isEmpty() && m_pending.takeLast() == Rows)
            endInsertRows();
    });
    connect(s, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex &p, int first, int last) {
        QModelIndex pp;
        if (topAmong(p, first, last)) {
            // The top folder itself goes away: the tree becomes empty.
            beginResetModel();
            m_pending.append(Reset);
        } else if (shownParent(p, pp)) {
            beginRemoveRows(pp, first, last);
            m_pending.append(Rows);
        } else {
            m_pending.append(Nothing);
        }
    });
    connect(s, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (m_pending.isEmpty())
            return;
        const Pending p = m_pending.takeLast();
        if (p == Rows)
            endRemoveRows();
        else if (p == Reset)
            endResetModel();
    });
    // Moves are rare in a file-system model; start afresh.
    connect(s, &QAbstractItemModel::rowsAboutToBeMoved, this, [this] { beginResetModel(); });
    connect(s, &QAbstractItemModel::rowsMoved, this, [this] { endResetModel(); });
    connect(s, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(s, &QAbstractItemModel::modelReset, this, [this] { endResetModel(); });
    connect(s, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) {
                if (topLeft.column() != 0)
                    return;
                const QModelIndex first = mapFromSource(topLeft);
                const QModelIndex last = mapFromSource(bottomRight.sibling(bottomRight.row(), 0));
                if (first.isValid() && last.isValid())
                    emit dataChanged(first, last, roles);
            });
    connect(s, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] {
        emit layoutAboutToBeChanged();
        m_layoutProxy = persistentIndexList();
        m_layoutSource.clear();
        for (const QModelIndex &p : std::as_const(m_layoutProxy))
            m_layoutSource.append(QPersistentModelIndex(mapToSource(p)));
    });
    connect(s, &QAbstractItemModel::layoutChanged, this, [this] {
        for (qsizetype i = 0; i < m_layoutProxy.size(); ++i) {
            const QModelIndex &old = m_layoutProxy.at(i);
            changePersistentIndex(old, isTop(old) ? topIndex() : mapFromSource(m_layoutSource.at(i)));
        }
        m_layoutProxy.clear();
        m_layoutSource.clear();
        emit layoutChanged();
    });
}

// ---- ShellFolderTree --------------------------------------------------------

namespace {
// Icons and type names by kind only. The stock provider asks the MIME
// database, which reads the start of files, and blocks for ever on a named
// pipe that has a writer but no data.
class FolderIconProvider : public QAbstractFileIconProvider
{
public:
    using QAbstractFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override
    {
        if (info.isRoot())
            return icon(Drive);
        return icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo &info) const override
    {
        return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
    }
};
} // namespace

QString ShellFolderTree::computerParsingName()
{
    return QStringLiteral("::{computer}");
}

ShellFolderTree::ShellFolderTree(QTreeView *view, const QString &topFolder) : QObject(view), m_view(view)
{
    m_icons = new FolderIconProvider;
    m_fs = new QFileSystemModel(this);
    m_fs->setObjectName(QStringLiteral("shellFileSystem"));
    m_fs->setIconProvider(m_icons);
    m_fs->setReadOnly(true);
    m_fs->setOption(QFileSystemModel::DontWatchForChanges, true); // no automatic refresh
    m_fs->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_fs->setRootPath(topFolder);
    m_model = new ShellFolderModel(m_fs, topFolder, this);

    view->setModel(m_model);
    view->setHeaderHidden(true);
    view->setRootIsDecorated(false);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setUniformRowHeights(true);
    view->setAnimated(false);
    const QModelIndex top = m_model->topIndex();
    view->expand(top);
    view->setCurrentIndex(top);
}

ShellFolderTree::~ShellFolderTree()
{
    // The icon provider must outlive the models that use it.
    delete m_model;
    delete m_fs;
    delete m_icons;
}

ShellFolderTree *ShellFolderTree::showComputer(QTreeView *view)
{
    return new ShellFolderTree(view, QString());
}

ShellFolderTree *ShellFolderTree::showFolder(QTreeView *view, const QString &folder)
{
    return new ShellFolderTree(view, QDir::cleanPath(QDir::fromNativeSeparators(folder)));
}

QString ShellFolderTree::parsingName(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    if (m_model->topIsComputer() && m_model->isTop(index))
        return computerParsingName();
    return QDir::toNativeSeparators(m_fs->filePath(m_model->mapToSource(index)));
}

QString ShellFolderTree::selectedParsingName() const
{
    return parsingName(m_view->currentIndex());
}

QModelIndex ShellFolderTree::indexOf(const QString &folder) const
{
    if (folder.isEmpty() || folder.startsWith(QLatin1Char(':')) || !QDir::isAbsolutePath(folder))
        return {};
    const QModelIndex source = m_fs->index(QDir::cleanPath(QDir::fromNativeSeparators(folder)));
    return source.isValid() ? m_model->mapFromSource(source) : QModelIndex();
}

bool ShellFolderTree::selectFolder(const QString &folder)
{
    const QModelIndex index = indexOf(folder);
    if (!index.isValid())
        return false;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        m_view->expand(up);
    m_view->setCurrentIndex(index);
    m_view->scrollTo(index);
    return true;
}
