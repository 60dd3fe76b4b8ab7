#pragma once
// Controls and menu entries bound to an action show its caption and enabled
// state and run it when used, like the platform's action links.

#include <QAbstractButton>
#include <QAction>

namespace ActionBinding {

inline void bindButton(QAbstractButton *button, QAction *action)
{
    auto sync = [button, action] {
        button->setText(action->text());
        button->setEnabled(action->isEnabled());
    };
    sync();
    QObject::connect(action, &QAction::changed, button, sync);
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
}

// A menu entry of its own name that follows the action.
inline QAction *bindEntry(QObject *owner, const char *name, QAction *action)
{
    auto *entry = new QAction(owner);
    entry->setObjectName(QLatin1String(name));
    auto sync = [entry, action] {
        entry->setText(action->text());
        entry->setEnabled(action->isEnabled());
    };
    sync();
    QObject::connect(action, &QAction::changed, entry, sync);
    QObject::connect(entry, &QAction::triggered, action, [action] { action->trigger(); });
    return entry;
}

} // namespace ActionBinding
