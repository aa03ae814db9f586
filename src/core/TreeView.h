// The tree-view control of the dialog model: nodes with a unique key, a text and an image key
// from the tree's image list, under a parent node or at the root. A level may be sorted by text
// (the parent's Sorted, or the tree's own for the roots); otherwise it keeps the order of adding.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Form.h"

namespace plexa {

struct TreeNode {
    std::wstring key;
    std::wstring text;
    std::wstring image;
    std::wstring parentKey;  // "" for a root
    bool sorted = false;     // its children are shown sorted by text
};

class TreeView : public Control {
public:
    explicit TreeView(std::wstring name) : Control(std::move(name), ControlType::TreeView) {}

    // Nodes.Add: a node under the parent ("" for a root). Throws HostError 35602 ("Key is not
    // unique in collection") for a key in use, 35601 ("Element not found") for an unknown parent.
    TreeNode& AddNode(const std::wstring& parentKey, const std::wstring& key,
                      const std::wstring& text, const std::wstring& image);
    void Clear();
    // The node of that key; nullptr when there is none.
    const TreeNode* Node(const std::wstring& key) const;
    TreeNode* Node(const std::wstring& key);
    // The children of a node ("" for the roots) in the order the tree shows them.
    std::vector<const TreeNode*> Children(const std::wstring& parentKey) const;
    // The texts from the root down to the node.
    std::vector<std::wstring> Path(const std::wstring& key) const;
    std::size_t Count() const { return m_nodes.size(); }

    // The roots are shown sorted by text.
    bool sorted = false;
    // The selected node's key ("" for none); the dialog's logic reads it in onNodeClick.
    std::wstring selectedKey;
    // The user clicked a node (already selected).
    std::function<void(const TreeNode&)> onNodeClick;
    // A character typed while the tree has the focus.
    std::function<void(int32_t keyAscii)> onKeyPress;

private:
    std::vector<TreeNode> m_nodes;
    std::unordered_map<std::wstring, std::size_t> m_index;
};

}  // namespace plexa
