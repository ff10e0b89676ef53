#pragma once
#include "ShellContext.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace cangshu {

// "登录": picks the operator, checks the password and loads the session. It stays alive,
// hidden, while the main window is in use.
class LoginWindow : public QDialog {
    Q_OBJECT
public:
    explicit LoginWindow(ShellContext& context, QWidget* parent = nullptr);

    QComboBox* userBox() const { return m_user; }
    QLineEdit* passwordBox() const { return m_password; }
    QPushButton* loginButton() const { return m_login; }
    QPushButton* cancelButton() const { return m_cancel; }

    // Reloads the user list, the library name and the parameters (at every showing).
    void reload();

signals:
    void loggedIn();
    void cancelled(); // "取消(&C)" or Esc: the application ends at once
    void closed();    // the window was closed: the application ends normally

public slots:
    void logIn();
    void reject() override; // Esc

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ShellContext& m_context;
    QLabel* m_banner;
    QComboBox* m_user;
    QLineEdit* m_password;
    QPushButton* m_login;
    QPushButton* m_cancel;
};

} // namespace cangshu
