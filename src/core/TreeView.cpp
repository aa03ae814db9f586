#include "core/TreeView.h"

#include <algorithm>

#include "core/HostError.h"
#include "core/Text.h"

namespace plexa {

TreeNode& TreeView::AddNode(const std::wstring& parentKey, const std::wstring& key,
                            const std::wstring& text, const std::wstring& image) {
    if (m_index.contains(key)) {
        throw HostError(35602, L"Key is not unique in collection", L"TreeView");
    }
    if (!parentKey.empty() && !m_index.contains(parentKey)) {
        throw HostError(35601, L"Element not found", L"TreeView");
    }
    m_index.emplace(key, m_nodes.size());
    m_nodes.push_back(TreeNode{key, text, image, parentKey, false});
    return m_nodes.back();
}

void TreeView::Clear() {
    m_nodes.clear();
    m_index.clear();
    selectedKey.clear();
}

const TreeNode* TreeView::Node(const std::wstring& key) const {
    const auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : &m_nodes[it->second];
}

TreeNode* TreeView::Node(const std::wstring& key) {
    const auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : &m_nodes[it->second];
}

std::vector<const TreeNode*> TreeView::Children(const std::wstring& parentKey) const {
    std::vector<const TreeNode*> children;
    for (const TreeNode& node : m_nodes) {
        if (node.parentKey == parentKey) {
            children.push_back(&node);
        }
    }
    const TreeNode* parent = parentKey.empty() ? nullptr : Node(parentKey);
    if (parent != nullptr ? parent->sorted : sorted) {
        std::stable_sort(children.begin(), children.end(),
                         [](const TreeNode* a, const TreeNode* b) {
                             return text::CompareNoCase(a->text, b->text) < 0;
                         });
    }
    return children;
}

std::vector<std::wstring> TreeView::Path(const std::wstring& key) const {
    std::vector<std::wstring> path;
    for (const TreeNode* node = Node(key); node != nullptr; node = Node(node->parentKey)) {
        path.insert(path.begin(), node->text);
        if (node->parentKey.empty()) {
            break;
        }
    }
    return path;
}

}  // namespace plexa
