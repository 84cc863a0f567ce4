#pragma once
// A window as a screen reader sees it: the accessible interfaces Qt gives its
// visible controls.
#include <vector>

#include <QAccessible>
#include <QString>

class QObject;
class QWidget;

namespace wd::test {

struct AccessibleNode {
    QAccessible::Role role;
    QString name;
    QObject* object;
};

// Every visible node below window, depth first, read through QAccessible.
std::vector<AccessibleNode> AccessibleNodes(QWidget& window);
// The node of object in nodes; fails the test and returns an empty node if absent.
AccessibleNode NodeOf(const std::vector<AccessibleNode>& nodes, const QObject* object);

} // namespace wd::test
