#pragma once
// The draw screen's commands in one table. Each command is one QAction with its
// caption, its key (the action's shortcut) and its handler: the popup menu shows
// the actions that have an item in it, a key pressed on the draw screen or the
// console triggers the action of that key, and a console button triggers the
// action it stands for. So a command does the same whichever way it is reached,
// and nothing else connects a menu item, a key or a button to a handler.
//
// The keys are dispatched here, not by Qt's shortcut map: the draw takes one
// command per press and ignores a key's auto-repeat, the console hands its keys
// over, and a full-screen display takes the keys while it is up. An action that
// stands only in a popup menu is never triggered by Qt for its shortcut, and the
// key-only actions belong to no widget; the shortcut is what the table looks
// keys up by.
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;

namespace screen {

class MainMenu;

class CommandTable : public QObject {
  Q_OBJECT

 public:
  struct Command {
    Command(QString name, int key, QString consoleButton, std::function<void()> handler,
            std::function<void()> beforeFromMenu = {}, int otherKey = 0)
        : name(std::move(name)),
          key(key),
          consoleButton(std::move(consoleButton)),
          handler(std::move(handler)),
          beforeFromMenu(std::move(beforeFromMenu)),
          otherKey(otherKey) {}

    // The menu item's component name (N17, F31, …); for a command no menu item
    // reaches, the name of its own action (e.g. "keyF5").
    QString name;
    int key = 0;  // the Qt key that reaches it; 0 for none
    // The objectName of the console's button that stands for it; empty for none.
    QString consoleButton;
    std::function<void()> handler;
    // Runs before the handler only when the command is chosen from the menu,
    // where the menu entry does a little more than its key (stopping the sound
    // player before a display).
    std::function<void()> beforeFromMenu;
    int otherKey = 0;  // a second key that reaches it (the keypad's Enter); 0 for none
  };

  // `menu` holds the items the commands of the menu take as their actions.
  CommandTable(MainMenu& menu, QObject* parent);

  // Adds a command. Its action is the menu's item of that name when the menu has
  // one; otherwise a new action with `caption`, owned by the table. Returns the action.
  QAction* add(Command command, const QString& caption = {});

  // The action of a command by its name, or by its key; null when there is none.
  QAction* action(const QString& name) const;
  QAction* actionForKey(int key) const;
  // Runs the command of `key` as the key does (a disabled action does nothing);
  // false when no command has that key.
  bool triggerKey(int key);
  // Runs the command of a console button as the button does (its key's way).
  bool triggerButton(const QString& consoleButton);

  const std::vector<Command>& commands() const { return commands_; }
  // Test hook: the command of that name, to replace its handler; null when none.
  Command* find(const QString& name);

 private:
  void run(std::size_t index);
  bool triggerAsKey(QAction* action);

  MainMenu& menu_;
  std::vector<Command> commands_;
  std::vector<QAction*> actions_;  // by index of commands_
  bool viaKey_ = false;
};

}  // namespace screen
