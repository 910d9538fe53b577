#pragma once
// A piece of editing behaviour attached to one wrapper. It sees each notification of its editing
// window before the wrapper raises the event, keeps its own state and knows no other part.

#include "editor/Notification.h"

class EditorPart {
public:
    virtual ~EditorPart() = default;
    virtual void notify(const SCNotification &) {}
};
