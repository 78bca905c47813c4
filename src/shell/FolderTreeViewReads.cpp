// Reading folders for the tree off the GUI thread: the Desktop's items, a
// folder being opened, the walk down to a path, and volumes that did not
// answer. Each read answers at once on a healthy disk (FileCalls); a read
// that does not shows its node as loading, and the tree goes on when the
// answer comes.
#include "shell/FolderTreeView.h"

#include "shell/FileListControl.h"
#include "shell/FolderTreeModel.h"
#include "shell/FolderTreeNode.h"
#include "shell/ShellItemIds.h"

#include "platform/FileCalls.h"
#include "platform/PathResolve.h"

#include <climits>

using namespace shellns;

namespace {

// How often volumes that did not answer are asked again.
constexpr int kSlowVolumePollMs = 1000;

// A folder bound and listed on a worker.
struct FolderRead
{
    std::shared_ptr<ShellFolder> folder;
    std::optional<ShellFolderListing> listing;
};

} // namespace

void TFolderTreeView::createReaders()
{
    m_rootCalls = new FileCalls(this);
    m_walkCalls = new FileCalls(this);
    m_openCalls = new FileCalls(this);
    m_volumeCalls = new FileCalls(this);
    for (FileCalls *calls : {m_walkCalls, m_openCalls}) {
        connect(calls, &FileCalls::slow, this, [this, calls] {
            if (FolderTreeNode *node = m_reading.value(calls)) {
                node->setLoading(true);
                m_model->nodeChanged(node);
            }
        });
    }
    m_slowVolumePoll.setInterval(kSlowVolumePollMs);
    connect(&m_slowVolumePoll, &QTimer::timeout, this, &TFolderTreeView::askSlowVolumes);
}

void TFolderTreeView::cancelReads()
{
    m_walk.reset();
    for (FileCalls *calls : {m_rootCalls, m_walkCalls, m_openCalls, m_volumeCalls})
        calls->cancel();
    m_reading.clear();
    m_slowVolumes.clear();
    m_slowVolumePoll.stop();
    m_rootPending = false;
}

void TFolderTreeView::setReading(FileCalls *calls, FolderTreeNode *node)
{
    FolderTreeNode *before = m_reading.value(calls);
    if (before && before != node && before->isLoading()) {
        before->setLoading(false);
        m_model->nodeChanged(before);
    }
    if (node)
        m_reading.insert(calls, node);
    else
        m_reading.remove(calls);
}

void TFolderTreeView::retrieveRootFolders()
{
    if (!m_desktop)
        return;
    const auto desktopId = m_desktop->specialFolderLocation(SpecialFolder::Desktop);
    if (!desktopId)
        return;
    ShellReadOptions options;
    options.enumFlags = enumflags::kFolders | enumflags::kIncludeHidden;
    options.filter = itemFilter();
    options.leadingItem = m_documentsId;
    const auto name = m_desktop->displayNameOf(*desktopId, nameflags::kInFolder | nameflags::kForParsing);
    const auto attributes = m_desktop->attributesOf(*desktopId, attr::kBrowseMask);
    if (!name || !attributes || !m_desktop->displayNameOf(*desktopId, nameflags::kNormal)
        || !options.filter.accepts(*attributes))
        return;
    auto root = std::make_unique<FolderTreeNode>(
        newNode(nullptr, {*desktopId, *name, *attributes, std::nullopt}, options.filter));
    root->info()->folder = m_desktop;
    root->info()->enumerated = true;
    FolderTreeNode *top = root.get();
    m_model->setRoot(std::move(root));

    // Files are never listed at the Desktop's own level; the documents folder leads.
    m_rootPending = true;
    m_rootCalls->start<std::shared_ptr<std::optional<ShellFolderListing>>>(
        shellItemPaths(*m_desktop, *desktopId),
        [desktop = m_desktop, options] {
            return std::make_shared<std::optional<ShellFolderListing>>(listShellFolder(*desktop, options));
        },
        [this, top, options](std::shared_ptr<std::optional<ShellFolderListing>> listing) {
            m_rootPending = false;
            if (*listing)
                m_model->setChildren(top, newNodes(top, **listing, options.filter));
            watchSlowVolumes(top);
            expand(indexOf(top));
            // A walk asked for meanwhile goes on from the Desktop's items.
            continueWalk();
        });
}

void TFolderTreeView::submitFolder(FolderTreeNode *node, FileCalls *calls, std::function<void(bool opened)> opened)
{
    if (!node || node->info()->enumerated) {
        if (opened)
            opened(node != nullptr);
        return;
    }
    ShellFolder *parentFolder = getParentShellFolder(node);
    if (!parentFolder) {
        if (opened)
            opened(false);
        return;
    }
    // The worker keeps the parent folder alive; the node stays on this thread.
    const std::shared_ptr<ShellFolder> parent =
        node->parent() ? node->parent()->info()->folder : m_desktop;
    ShellReadOptions options;
    options.filter = itemFilter();
    const ItemIdList id = node->info()->itemId;
    setReading(calls, node);
    calls->start<std::shared_ptr<FolderRead>>(
        shellItemPaths(*parent, id),
        [parent, id, options] {
            auto read = std::make_shared<FolderRead>();
            read->folder = parent->bindToObject(id);
            if (read->folder)
                read->listing = listShellFolder(*read->folder, options);
            return read;
        },
        [this, calls, node, options, opened = std::move(opened)](std::shared_ptr<FolderRead> read) {
            setReading(calls, nullptr);
            if (node->isLoading()) {
                node->setLoading(false);
                m_model->nodeChanged(node);
            }
            // A failed read leaves the node closed; the next attempt tries again.
            const bool ok = read->folder && read->listing;
            if (ok && !node->info()->enumerated) {
                node->info()->folder = std::move(read->folder);
                node->info()->enumerated = true;
                m_model->setChildren(node, newNodes(node, *read->listing, options.filter));
                watchSlowVolumes(node);
                expand(indexOf(node));
            }
            if (opened)
                opened(ok);
        });
}

void TFolderTreeView::searchNode(const QByteArray &path)
{
    m_walk.reset();
    m_walkCalls->cancel();
    setReading(m_walkCalls, nullptr);
    FolderTreeNode *root = rootNode();
    if (path.isEmpty() || !root || !m_desktop)
        return;
    const QByteArray full = paths::absoluteClean(path);
    if (full.size() >= PATH_MAX)
        return;
    m_walk = std::make_unique<Walk>();
    Walk *walk = m_walk.get();
    walk->path = full;
    walk->current = m_desktop;
    walk->candidates = root;
    m_walkCalls->start<std::shared_ptr<ParsedShellPath>>(
        {full},
        [desktop = m_desktop, full] { return std::make_shared<ParsedShellPath>(parseShellPath(*desktop, full)); },
        [this, walk](std::shared_ptr<ParsedShellPath> parsed) {
            if (m_walk.get() != walk)
                return;
            if (!parsed->ok) {
                m_walk.reset();
                return;
            }
            walk->ids = std::move(parsed->ids);
            walk->attributes = parsed->attributes;
            walk->parsed = true;
            continueWalk();
        });
}

void TFolderTreeView::continueWalk()
{
    Walk *walk = m_walk.get();
    // Not parsed yet, or the Desktop's items are still on their way: the answer goes on.
    if (!walk || !walk->parsed || m_rootPending)
        return;
    // The view scrolls to the node the walk ends on, not to every level.
    const bool wasWalking = m_walking;
    m_walking = true;
    bool ended = true;
    for (;;) {
        const QByteArrayView rest = QByteArrayView(walk->ids).sliced(walk->position);
        const std::optional<ItemIdList> element = copyFirstItemId(rest);
        if (!element)
            break;
        walk->lastName = walk->current->displayNameOf(*element, nameflags::kInFolder | nameflags::kForParsing)
                             .value_or(QByteArray());
        FolderTreeNode *match = matchChild(walk->candidates, walk->lastName);
        if (!match)
            break;
        m_walkSelects = true;
        selectNode(match);
        m_walkSelects = false;
        // A change handler may have asked for another walk.
        if (m_walk.get() != walk) {
            ended = false;
            break;
        }
        const std::optional<QByteArrayView> next = nextItemId(rest);
        if (!next)
            break;
        walk->position = walk->ids.size() - next->size();
        if (match->info()->enumerated) {
            walk->current = match->info()->folder;
            walk->candidates = match;
            continue;
        }
        ended = false;
        submitFolder(match, m_walkCalls, [this, walk, match](bool opened) {
            if (m_walk.get() != walk)
                return;
            if (!opened) {
                finishWalk();
                return;
            }
            walk->current = match->info()->folder;
            walk->candidates = match;
            continueWalk();
        });
        break;
    }
    if (ended && m_walk.get() == walk)
        finishWalk();
    m_walking = wasWalking;
    if (!m_walking && currentIndex().isValid())
        scrollTo(currentIndex());
}

void TFolderTreeView::finishWalk()
{
    const std::unique_ptr<Walk> walk = std::move(m_walk);
    if (!m_includeFile && !(walk->attributes & attr::kFolder) && m_fileList) {
        if (m_fileList->SelectFile(walk->lastName))
            setNodeSelected(selectedNode(), false);
    }
}

QByteArray TFolderTreeView::walkingTo() const
{
    return m_walk ? m_walk->path : QByteArray();
}

void TFolderTreeView::watchSlowVolumes(FolderTreeNode *parent)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        FolderTreeNode *child = parent->child(i);
        if (child->info()->attributes & attr::kIsSlow)
            m_slowVolumes.append(child);
    }
    if (!m_slowVolumes.isEmpty() && !m_slowVolumePoll.isActive())
        m_slowVolumePoll.start();
}

void TFolderTreeView::askSlowVolumes()
{
    if (m_slowVolumes.isEmpty()) {
        m_slowVolumePoll.stop();
        return;
    }
    if (m_volumeCalls->isWaiting())
        return;
    struct Ask
    {
        std::shared_ptr<ShellFolder> parent;
        ItemIdList id;
    };
    std::vector<Ask> asks;
    for (FolderTreeNode *node : std::as_const(m_slowVolumes))
        asks.push_back({node->parent()->info()->folder, node->info()->itemId});
    const QList<FolderTreeNode *> nodes = m_slowVolumes;
    // Nothing waits for the answer: it comes when the volumes answer.
    m_volumeCalls->startInBackground<std::vector<std::uint32_t>>(
        {},
        [asks] {
            std::vector<std::uint32_t> bits;
            for (const Ask &ask : asks)
                bits.push_back(ask.parent ? ask.parent->attributesOf(ask.id, attr::kBrowseMask).value_or(0) : 0);
            return bits;
        },
        [this, nodes](std::vector<std::uint32_t> bits) {
            const ShellItemFilter filter = itemFilter();
            for (std::size_t i = 0; i < bits.size(); ++i) {
                FolderTreeNode *node = nodes[qsizetype(i)];
                if (!bits[i] || (bits[i] & attr::kIsSlow))
                    continue;
                // It answers now: shown as any volume, and it can be opened.
                node->info()->attributes = bits[i];
                node->setCut(filter.isHidden(bits[i]));
                m_model->nodeChanged(node);
                m_slowVolumes.removeOne(node);
            }
            if (m_slowVolumes.isEmpty())
                m_slowVolumePoll.stop();
        });
}
