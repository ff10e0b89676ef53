#pragma once
#include <QWidget>
#include <functional>

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTimer;
class QToolBar;
class QVBoxLayout;

namespace cangshu {

// The frame of a circulation desk window: modeless and kept on top, a tool bar, the body,
// a row of command buttons, and a status line with the operator and a clock refreshed every
// second. The desk keys work anywhere in the window: F2 reader field, F3 item field, F5
// commit, F6 remove a pending row, F7 clear, Esc close.
class CirculationFrame : public QWidget {
    Q_OBJECT
public:
    explicit CirculationFrame(const QString& title, QWidget* parent = nullptr);

    void setOperatorName(const QString& name);
    QString operatorName() const { return m_operator; }
    QLabel* clockLabel() const { return m_clock; }
    // The clock's text, "yyyy-mm-dd hh:mm:ss".
    void refreshClock();

    QToolBar* toolBar() const { return m_toolBar; }
    QVBoxLayout* body() const { return m_body; }
    QHBoxLayout* statusLine() const { return m_status; }
    // A command button in the bottom row (its object name is its caption).
    QPushButton* addCommand(const QString& caption, const std::function<void()>& action);
    QPushButton* command(const QString& caption) const;
    // A picture button of the tool bar running the same action as a command button.
    void addTool(int standardPixmap, const QString& tip, const std::function<void()>& action);

protected:
    virtual void focusReaderField() {}
    virtual void focusItemField() {}
    virtual void commitDesk() {}
    virtual void removePendingRow() {}
    virtual void clearDesk() {}

    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_operator;
    QToolBar* m_toolBar;
    QVBoxLayout* m_body;
    QHBoxLayout* m_commands;
    QHBoxLayout* m_status;
    QLabel* m_operatorLabel;
    QLabel* m_clock;
    QTimer* m_timer;
};

} // namespace cangshu
