#pragma once

#include <cstdio>

#include "foundation/bytes/GenericException.h"

// Linking of the doubly linked lists' nodes: any node type with "next" and
// "previous" members, in a list that keeps its first and last node.

// Links the node in front of the position, or at the tail when there is none.
template <class Node>
void LinkNode(Node*& first, Node*& last, Node* position, Node* node)
{
    if (!position) {
        node->next = nullptr;
        node->previous = last;
        if (last)
            last->next = node;
        else
            first = node;
        last = node;
        return;
    }
    node->next = position;
    node->previous = position->previous;
    if (position->previous)
        position->previous->next = node;
    else
        first = node;
    position->previous = node;
}

template <class Node>
void UnlinkNode(Node*& first, Node*& last, Node* node)
{
    if (node->previous)
        node->previous->next = node->next;
    else
        first = node->next;
    if (node->next)
        node->next->previous = node->previous;
    else
        last = node->previous;
}

// The ordered insert of the lists: walk from the first node while the new record
// comes before the current one; append when it comes before the last one too,
// else go in front of where the walk stopped.
template <class Node, class Before>
Node* FindOrderedPosition(Node* first, Node* last, Before comesBefore)
{
    Node* current = first;
    while (current && current->next && comesBefore(current))
        current = current->next;
    if (current && current == last && comesBefore(current))
        return nullptr;
    return current;
}

// Makes a node; any failure becomes the list operation's own failure text, with
// "Unknown error " added for failures that are not the program's exception
// (or the operation's own text for those, when it has one).
template <class Make>
auto MakeListNode(const char* failureText, Make make, const char* unknownFailureText = nullptr) -> decltype(make())
{
    try {
        return make();
    } catch (const CGenericException&) {
        throw CGenericException(failureText);
    } catch (...) {
        if (unknownFailureText)
            throw CGenericException(unknownFailureText);
        char text[64];
        std::snprintf(text, sizeof text, "%sUnknown error ", failureText);
        throw CGenericException(text);
    }
}
