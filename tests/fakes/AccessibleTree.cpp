#include "fakes/AccessibleTree.h"

#include <algorithm>

#include <QWidget>
#include <gtest/gtest.h>

namespace wd::test {

namespace {

void Walk(QAccessibleInterface* node, std::vector<AccessibleNode>& out)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || child->state().invisible) continue;
        out.push_back({child->role(), child->text(QAccessible::Name), child->object()});
        Walk(child, out);
    }
}

} // namespace

std::vector<AccessibleNode> AccessibleNodes(QWidget& window)
{
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    std::vector<AccessibleNode> nodes;
    if (root) Walk(root, nodes);
    return nodes;
}

AccessibleNode NodeOf(const std::vector<AccessibleNode>& nodes, const QObject* object)
{
    const auto it = std::find_if(nodes.begin(), nodes.end(), [&](const auto& n) { return n.object == object; });
    if (it != nodes.end()) return *it;
    ADD_FAILURE() << "not in the accessible tree: " << (object ? object->objectName().toStdString() : "null");
    return {QAccessible::NoRole, {}, nullptr};
}

} // namespace wd::test
