#include "game/Model.h"
#include "game/Node.h"

// Keeps the Model's selectedNode in step with the nodes' highlight: at most one
// node is highlighted, and it is the selectedNode.
void Node::setSelected(bool on) {
    if (selected && on) {
        return;
    }
    selected = on;
    Model* model = Model::getSelf();
    if (!on) {
        model->selectedNode = nullptr;
        return;
    }
    Node* previous = model->selectedNode;
    if (previous != nullptr && previous != this) {
        previous->setSelected(false);
    }
    model->selectedNode = this;
}
