#pragma once
// Finds a window's widget or action by its object name. Windows keep their widgets private and name
// them; tests reach them the way a user's tools would, through the object tree.

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

template <class T>
T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        throw std::logic_error(std::string("the window has no ") + T::staticMetaObject.className() + " named " + name);
    return child;
}
