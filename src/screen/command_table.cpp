#include "screen/command_table.h"

#include <QAction>
#include <QKeySequence>

#include "screen/main_menu.h"

namespace screen {

CommandTable::CommandTable(MainMenu& menu, QObject* parent) : QObject(parent), menu_(menu) {}

QAction* CommandTable::add(Command command, const QString& caption) {
  QAction* action = menu_.action(command.name);
  if (action == nullptr) {
    action = new QAction(caption, this);
    action->setObjectName(command.name);
  }
  if (command.key != 0) {
    QList<QKeySequence> keys{QKeySequence(command.key)};
    if (command.otherKey != 0) keys.append(QKeySequence(command.otherKey));
    action->setShortcuts(keys);
    // The menu's captions carry their keys ("奖品展示[F3]") as the program has always shown them.
    action->setShortcutVisibleInContextMenu(false);
    action->setAutoRepeat(false);
  }
  const std::size_t index = commands_.size();
  commands_.push_back(std::move(command));
  actions_.push_back(action);
  connect(action, &QAction::triggered, this, [this, index] { run(index); });
  return action;
}

void CommandTable::run(std::size_t index) {
  // Copied: a handler may replace the table's entries (a test's recorder) while it runs.
  const Command command = commands_[index];
  // Read at once: a command reached from the menu inside this one's modal
  // window is the menu's.
  const bool fromMenu = !viaKey_;
  viaKey_ = false;
  if (fromMenu && command.beforeFromMenu) command.beforeFromMenu();
  if (command.handler) command.handler();
}

QAction* CommandTable::action(const QString& name) const {
  for (std::size_t i = 0; i < commands_.size(); ++i)
    if (commands_[i].name == name) return actions_[i];
  return nullptr;
}

QAction* CommandTable::actionForKey(int key) const {
  if (key == 0) return nullptr;
  for (std::size_t i = 0; i < commands_.size(); ++i)
    if (commands_[i].key == key || commands_[i].otherKey == key) return actions_[i];
  return nullptr;
}

bool CommandTable::triggerAsKey(QAction* action) {
  if (action == nullptr) return false;
  viaKey_ = true;
  action->trigger();
  viaKey_ = false;  // a disabled action ran nothing
  return true;
}

bool CommandTable::triggerKey(int key) { return triggerAsKey(actionForKey(key)); }

bool CommandTable::triggerButton(const QString& consoleButton) {
  for (std::size_t i = 0; i < commands_.size(); ++i)
    if (!consoleButton.isEmpty() && commands_[i].consoleButton == consoleButton) return triggerAsKey(actions_[i]);
  return false;
}

CommandTable::Command* CommandTable::find(const QString& name) {
  for (Command& command : commands_)
    if (command.name == name) return &command;
  return nullptr;
}

}  // namespace screen
