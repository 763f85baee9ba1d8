#pragma once

#include <QAccessible>

#include <functional>

class QObject;

// Tells a screen reader that a control now says something else. Qt's labels do not
// announce their own changes, so the figures that change during play (score, run,
// cards left, the round-end captions) announce theirs here.
namespace AccessibleNotice {

void nameChanged(QObject *object);

// Every notice is also handed to this listener, whether or not a screen reader
// listens: Qt passes events on only while one does, so tests listen here.
using Listener = std::function<void(QAccessible::Event, QObject *)>;
void setListener(Listener listener);

} // namespace AccessibleNotice
