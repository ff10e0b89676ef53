#pragma once
#include "OperatorSession.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace cangshu {

// The right a command tests before it runs (the enabled state of its menu group).
enum class Gate {
    None,
    SystemSettings,
    Management,
    BasicOperations,
    Queries,
    Statistics,
    Printing
};

// How a command opens: a window shown modal or modeless, or an action of the main window
// itself (backup, skins, exit ...).
enum class Opening { Modal, Modeless, Action };

struct Command {
    QString id;      // unique; the caption, or "<sub-menu>/<caption>" inside a sub-menu
    QString menu;    // the menu group's caption; empty for tool-bar-only commands
    QString subMenu; // one of the three classification sub-menus, else empty
    QString text;    // the caption
    Gate gate = Gate::None;
    Opening opening = Opening::Modal;
    int functionKey = 0;       // 1..12 for F1..F12
    QString windowKey;         // commands sharing one window name the same key
    QString windowTitle;       // the title the window carries when this command opens it
    bool moveToCorner = false; // placed on the top-left corner of the background picture
};

struct MenuGroup {
    QString caption;        // "系统设置"
    QString accelerated;    // "系统设置(&S)"
    Gate gate = Gate::None; // the right that enables the whole group
};

struct ToolBarEntry {
    QString caption;
    QStringList commands; // one command, or the entries of a drop-down menu
};

// The main window's commands as data: menu groups, items in menu order, the top tool bar
// and the twelve function keys. Windows are wired to commands by id (see WindowFactories).
class CommandTable {
public:
    static const CommandTable& instance();

    const QList<MenuGroup>& menus() const { return m_menus; }
    const QList<Command>& commands() const { return m_commands; }
    const QList<ToolBarEntry>& toolBar() const { return m_toolBar; }
    QList<const Command*> inMenu(const QString& menu) const; // in menu order
    QStringList subMenus(const QString& menu) const;
    const Command* find(const QString& id) const;
    const Command* forFunctionKey(int n) const; // F1..F12
    QStringList skinCommands() const;

private:
    CommandTable();
    QList<MenuGroup> m_menus;
    QList<Command> m_commands;
    QList<ToolBarEntry> m_toolBar;
};

bool gateOpen(Gate gate, const Rights& rights);

// Skins: the menu item, the skin file name written to skin/s, and the style sheet of ours
// that stands for it (same base name, .qss).
struct Skin {
    QString item;
    QString file;
};
const QList<Skin>& skins();
QString noSkinItem();                         // "不用皮肤"
QString noSkinValue();                        // "无"
QString skinItemForFile(const QString& file); // empty when unknown
// The style sheet of a configured skin: skin/<base>.qss under the home, else our built-in
// copy; empty for "无" or an unknown name.
QString loadSkinStyleSheet(const QString& skinFolder, const QString& configuredFile);

} // namespace cangshu
