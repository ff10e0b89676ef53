#pragma once
#include "shell/Maintenance.h"

#include <QDialog>

class QPushButton;

namespace cangshu {

// "退出选项": how the operator leaves. Closing it with the title bar counts as "直接退出";
// Esc is "取消退出".
class ExitDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExitDialog(QWidget* parent = nullptr);
    ExitAnswer answer() const { return m_answer; }
    QPushButton* button(ExitAnswer answer) const;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void choose(ExitAnswer answer);
    ExitAnswer m_answer = ExitAnswer::Exit;
    QList<QPushButton*> m_buttons;
};

} // namespace cangshu
