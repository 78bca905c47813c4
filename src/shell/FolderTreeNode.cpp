#include "shell/FolderTreeNode.h"

#include <QFile>

using namespace shellns;

FolderTreeNode::FolderTreeNode(FolderTreeNode *parent, TFflNodeInfo info)
    : m_parent(parent)
    , m_info(std::move(info))
{
}

FolderTreeNode::~FolderTreeNode() = default;

FolderTreeNode *FolderTreeNode::child(int row) const
{
    return row >= 0 && row < childCount() ? const_cast<FolderTreeNode *>(&m_children[std::size_t(row)]) : nullptr;
}

void FolderTreeNode::setChildren(std::vector<FolderTreeNode> children)
{
    m_children = std::move(children);
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        m_children[i].m_parent = this;
        m_children[i].m_row = int(i);
    }
}

ShellFolder *FolderTreeNode::parentFolder() const
{
    return m_parent ? m_parent->m_info.folder.get() : m_info.folder.get();
}

FolderTreeNode::Looks &FolderTreeNode::looks() const
{
    if (!m_looks)
        m_looks = std::make_unique<Looks>();
    return *m_looks;
}

QString FolderTreeNode::label() const
{
    std::optional<QString> &made = looks().label;
    if (!made) {
        const ShellFolder *folder = parentFolder();
        const auto label = folder ? folder->displayNameOf(m_info.itemId, nameflags::kNormal) : std::nullopt;
        // A name the namespace cannot put into words still shows its bytes.
        made = label ? QString::fromUtf8(*label) : QFile::decodeName(m_info.name);
    }
    return *made;
}

const FflItemIcons &FolderTreeNode::icons(TFflIconList &images, const IconExtractor *extractor)
{
    std::optional<FflItemIcons> &made = looks().icons;
    if (!made) {
        const ShellFolder *folder = parentFolder();
        made = folder ? images.acquireItemIcons(extractor, *folder, m_info.itemId, m_info.attributes)
                      : FflItemIcons();
    }
    return *made;
}
