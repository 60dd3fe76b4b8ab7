#pragma once
// The folder tree of the batch-add and directory dialogs: a QTreeView over
// QFileSystemModel, folders only, with exactly one top node. The top node is
// either "the computer" (a place above "/" whose parsing name is no path, so
// nothing can be listed in it or written to it) or one real folder.

#include <QAbstractProxyModel>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QString>

class QAbstractFileIconProvider;
class QFileSystemModel;
class QTreeView;

// Shows one source node (or the computer above the source's top level) as
// the single top row, with its sub-tree below it.
class ShellFolderModel : public QAbstractProxyModel
{
    Q_OBJECT
public:
    // topFolder empty: the computer is the top node.
    ShellFolderModel(QFileSystemModel *source, const QString &topFolder, QObject *parent = nullptr);

    QModelIndex topIndex() const;
    bool isTop(const QModelIndex &index) const;
    bool topIsComputer() const { return m_computer; }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;

private:
    void *tag() const { return const_cast<int *>(&m_tag); }
    bool hasTop() const { return m_computer || m_top.isValid(); }
    // The proxy index under which the children of a source parent appear;
    // false when that parent is not shown.
    bool shownParent(const QModelIndex &sourceParent, QModelIndex &proxyParent) const;
    bool topAmong(const QModelIndex &sourceParent, int first, int last) const;
    void connectSource();

    QFileSystemModel *m_source;
    bool m_computer;
    QPersistentModelIndex m_top;
    int m_tag = 0;
    enum Pending { Nothing, Rows, Reset };
    QList<Pending> m_pending;
    QModelIndexList m_layoutProxy;
    QList<QPersistentModelIndex> m_layoutSource;
};

class ShellFolderTree : public QObject
{
    Q_OBJECT
public:
    // The parsing name of the computer node: a shell identifier, not a path.
    static QString computerParsingName();

    // Fills view with the tree, the root expanded one level and selected.
    static ShellFolderTree *showComputer(QTreeView *view);
    static ShellFolderTree *showFolder(QTreeView *view, const QString &folder);

    // The full path of a folder (native separators), or the computer's
    // parsing name; empty for no index.
    QString parsingName(const QModelIndex &index) const;
    // The parsing name of the folder selected in the view.
    QString selectedParsingName() const;

    QModelIndex topIndex() const { return m_model->topIndex(); }
    // The tree's index of an existing folder, or an invalid index.
    QModelIndex indexOf(const QString &folder) const;
    // Selects a folder (opening its parents); false when it is not in the tree.
    bool selectFolder(const QString &folder);

    QTreeView *view() const { return m_view; }
    ShellFolderModel *model() const { return m_model; }
    QFileSystemModel *fileSystemModel() const { return m_fs; }

    ~ShellFolderTree() override;

private:
    ShellFolderTree(QTreeView *view, const QString &topFolder);

    QTreeView *m_view;
    QAbstractFileIconProvider *m_icons;
    QFileSystemModel *m_fs;
    ShellFolderModel *m_model;
};
