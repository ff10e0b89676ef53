#pragma once
#include "ShellContext.h"
#include "WindowFactories.h"
#include "shell/Maintenance.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

namespace cangshu {

class BackgroundView;
class SkinEngine;

// The shell: menus, the top tool bar, the left column, F1 to F12 and the status line. It
// opens every other window, each gated by the operator's rights, creates a window on first
// use and reuses it afterwards.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ShellContext& context, const WindowFactories& factories, SkinEngine& skins,
               QWidget* parent = nullptr);

    // After each login: title, rights, status line, background, plain-shell mode; then the
    // overdue list when the parameters ask for it.
    void applySession();

    // Runs a command as its menu item would; false when its gate is closed or it has no
    // window yet.
    bool runCommand(const QString& id);
    bool isAvailable(const Command& command) const;

    QWidget* openedWindow(const QString& windowKey) const { return m_windows.value(windowKey); }
    QMenu* menu(const QString& caption) const { return m_menus.value(caption); }
    QAction* menuAction(const QString& commandId) const { return m_actions.value(commandId); }
    QLabel* operatorLabel() const { return m_operatorLabel; }
    QLabel* connectionLabel() const { return m_connectionLabel; }
    QWidget* background() const;

    // The exit dialog's question; replaceable so that the answer can be given directly.
    std::function<ExitAnswer()> askExit;

signals:
    void switchOperatorRequested();
    void exitRequested(); // the main window closed for good: the application ends

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBars();
    void refreshEnabledStates();
    void loadBackground();
    bool runAction(const Command& command);
    void openWindow(const Command& command, const WindowFactory& factory);
    bool menuGroupOpen(const QString& menuCaption) const;
    QAction* commandAction(const Command& command, QObject* owner, const QString& text);
    void chooseSkin(const QString& item);
    void changeBackground();
    void backUp();
    void upgrade();

    ShellContext& m_context;
    const WindowFactories& m_factories;
    SkinEngine& m_skins;
    BackgroundView* m_background;
    QLabel* m_operatorLabel;
    QLabel* m_connectionLabel;
    QToolBar* m_topBar;
    QToolBar* m_leftColumn;
    QActionGroup* m_skinGroup;
    QHash<QString, QMenu*> m_menus;                 // menu groups and sub-menus by caption
    QHash<QString, QAction*> m_actions;             // menu items by command id
    QList<QPair<QAction*, QString>> m_gatedActions; // every action with its command id
    QList<QPair<QWidget*, QMenu*>> m_dropDowns;     // tool-bar buttons with a pop-up of commands
    QHash<QString, QPointer<QWidget>> m_windows;    // created windows by window key
    bool m_closing = false;
};

} // namespace cangshu
